#include "sim/modelled_player.h"

#include <algorithm>

ModelledPlayer::ModelledPlayer(const PlayerModel& model, uint64_t seed)
    : model_(model), state_(seed) {}

// splitmix64: fast, with no allocation, and good enough for a player's coin flips.
uint64_t ModelledPlayer::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool ModelledPlayer::Chance(double percent) {
    // 53 random bits make a uniform number in [0, 100).
    const double draw = static_cast<double>(Next() >> 11) * (100.0 / 9007199254740992.0);
    return draw < percent;
}

bool ModelledPlayer::AnswersRight(int difficulty) {
    return Chance(model_.rightPercent[std::clamp(difficulty, 1, 3) - 1]);
}

bool ModelledPlayer::AnswersTryAgainRight(int difficulty) {
    if (model_.tryAgainRightPercent < 0.0) return AnswersRight(difficulty);
    return Chance(model_.tryAgainRightPercent);
}

int ModelledPlayer::Choose(int count) {
    if (count <= 1) return 0;
    // The high bits of a 64 x 64-bit product: as even as a division, and faster.
    const unsigned __int128 scaled =
        static_cast<unsigned __int128>(Next()) * static_cast<uint64_t>(count);
    return static_cast<int>(scaled >> 64);
}

bool ModelledPlayer::TakesOffer(const OfferView& view) const {
    switch (model_.take.kind) {
        case TakePolicy::Kind::Never:
            return false;
        case TakePolicy::Kind::NthOffer:
            return view.number == model_.take.offer;
        case TakePolicy::Kind::Ratio:
            return view.offer >= model_.take.percent / 100.0 * view.averageLeft;
    }
    return false;
}
