// The player of the payout simulator: answers right with a chance that depends on the question's
// difficulty, picks balls at random and takes an offer by a fixed policy. Its random numbers are
// its own, so the game's generator draws only for the game.
#pragma once

#include <cstdint>

// When the player takes an offer.
struct TakePolicy {
    enum class Kind { Never, NthOffer, Ratio };
    Kind kind = Kind::Never;
    int offer = 0;         // NthOffer: takes the offer with this number (1 is the first)
    double percent = 0.0;  // Ratio: takes an offer of at least this percent of the average left
};

struct PlayerModel {
    // Chance of a right answer, in percent, for difficulties 1, 2 and 3.
    double rightPercent[3] = {90.0, 75.0, 60.0};
    // Chance of a right answer on a try-again, in percent; below 0 the question's own chance.
    // A player who simply presses the other button is right every time (100).
    double tryAgainRightPercent = -1.0;
    TakePolicy take;
};

// What the player sees when an offer is made.
struct OfferView {
    int number;          // 1 for the first offer of the game
    int32_t offer;       // pence
    double averageLeft;  // the average worth of the balls still closed, the player's own
                         // included (empty balls are worth nothing), in pence; worked out
                         // only for a player who judges by it (0 otherwise)
};

class ModelledPlayer {
  public:
    ModelledPlayer(const PlayerModel& model, uint64_t seed);

    // Whether the answer to a question of this difficulty (1 to 3) is right.
    bool AnswersRight(int difficulty);
    // Whether the second go at a question of this difficulty is right.
    bool AnswersTryAgainRight(int difficulty);
    // One of `count` choices, each as likely (count at least 1).
    int Choose(int count);
    bool TakesOffer(const OfferView& view) const;
    // Whether TakesOffer looks at the average left (working it out costs a look at the board).
    bool JudgesByAverageLeft() const { return model_.take.kind == TakePolicy::Kind::Ratio; }

    const PlayerModel& Model() const { return model_; }

  private:
    bool Chance(double percent);
    uint64_t Next();

    PlayerModel model_;
    uint64_t state_;
};
