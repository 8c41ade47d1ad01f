#include "game/autoplay.h"

#include <optional>
#include <string>
#include <vector>

#include "ballgame/board.h"
#include "game/money_panels.h"
#include "platform/platform.h"
#include "questions/question_packs.h"
#include "shell/waits.h"

namespace {

constexpr uint32_t kTouchDelayMs = 300;

enum AttractButton { kMainMenu = 0, kStart = 2 };
enum StakeButton { kFiftyPence = 0, kPound = 1 };
enum AnswerButton { kTrue = 0, kFalse = 1 };
enum OfferButton { kTake = 0, kLeave = 1 };

}  // namespace

// ---- The decisions ----------------------------------------------------------------------------

ModelledPlayer::ModelledPlayer(const platform::AutoplaySettings& settings)
    : settings_(settings), random_(settings.seed) {}

void ModelledPlayer::MenuStarted(MenuKind kind) {
    touchesThisMenu_ = 0;
    if (kind == MenuKind::TakeOrLeave) ++offersThisGame_;
    if (kind == MenuKind::Answer) ++answersThisGame_;
}

int ModelledPlayer::ChooseButton(MenuKind kind, const MenuSituation& situation) {
    switch (kind) {
        case MenuKind::Attract:
            return ChooseOnAttract(situation.money);
        case MenuKind::Stake:
            return ChooseStake(situation.money);
        case MenuKind::Answer:
            return ChooseAnswer(situation.correctAnswer);
        case MenuKind::Ball:
            return ChooseBall(situation);
        case MenuKind::TakeOrLeave:
            return ChooseOnOffer();
    }
    return -1;
}

// Plays its games while the money lasts; leaves by Main Menu once they are played. Short of
// money it waits, as a player looking for coins does (the attract screen ends after 30 s).
int ModelledPlayer::ChooseOnAttract(int money) {
    if (gamesStarted_ >= settings_.games) return kMainMenu;
    if (money < 50) return -1;
    ++gamesStarted_;
    offersThisGame_ = 0;
    answersThisGame_ = 0;
    return kStart;
}

int ModelledPlayer::ChooseStake(int money) const {
    return settings_.stake == 100 && money >= 100 ? kPound : kFiftyPence;
}

// The script decides the answers it covers; a late answer is no touch at all, so the answer
// clock runs out.
int ModelledPlayer::ChooseAnswer(int correctAnswer) {
    const int rightButton = correctAnswer == 1 ? kTrue : kFalse;
    const size_t answer = static_cast<size_t>(answersThisGame_ - 1);
    if (answersThisGame_ > 0 && answer < settings_.answers.size()) {
        switch (settings_.answers[answer]) {
            case 'R':
                return rightButton;
            case 'W':
                return 1 - rightButton;
            default:
                return -1;
        }
    }
    const bool answersRight = static_cast<int>(random_() % 100) < settings_.rightPercent;
    return answersRight ? rightButton : 1 - rightButton;
}

int ModelledPlayer::ChooseBall(const MenuSituation& situation) {
    const int touch = touchesThisMenu_++;
    if (situation.choosingPrizeBall) {
        if (settings_.pick == platform::PrizePick::Wait) return -1;
        if (settings_.pick == platform::PrizePick::Blue && touch == 0 && situation.blueBall >= 0)
            return situation.blueBall;
    }
    return ChooseAcceptableBall(situation.ballAcceptable);
}

int ModelledPlayer::ChooseAcceptableBall(bool (*acceptable)(int ball)) {
    std::vector<int> balls;
    for (int ball = 0; ball < kBallCount; ++ball)
        if (!acceptable || acceptable(ball)) balls.push_back(ball);
    if (balls.empty()) return -1;
    return balls[random_() % balls.size()];
}

int ModelledPlayer::ChooseOnOffer() const {
    return offersThisGame_ == settings_.takeOffer ? kTake : kLeave;
}

// ---- The player in the running game -----------------------------------------------------------

namespace {

// A ball still on the board; not the blue one while the player picks a prize ball.
bool BallOnBoard(int ball) {
    const Ball& candidate = axBalls[ball];
    return candidate.inPlay != 0 && !(candidate.isBlue && !bPrizeBallChosen);
}

struct Autoplay {
    bool optionsRead = false;
    std::optional<ModelledPlayer> player;
    std::optional<TouchMenu> menu;  // the menu waiting for the player
    uint32_t touchDeadline = 0;
    bool (*ballAcceptable)(int ball) = BallOnBoard;
} autoplay;

ModelledPlayer* Player() {
    if (!autoplay.optionsRead) {
        autoplay.optionsRead = true;
        const std::string& text = platform::CurrentOptions().autoplay;
        platform::AutoplaySettings settings;
        std::string error;
        if (!text.empty() && platform::ParseAutoplaySettings(text, settings, error))
            autoplay.player.emplace(settings);
    }
    return autoplay.player ? &*autoplay.player : nullptr;
}

// Only what the menu needs is looked at: reading money is an exchange with the credit service.
MenuSituation SituationOf(MenuKind kind) {
    MenuSituation situation;
    if (kind == MenuKind::Attract || kind == MenuKind::Stake) situation.money = PlayerMoney();
    if (kind == MenuKind::Answer) situation.correctAnswer = QuestionAnswer();
    if (kind == MenuKind::Ball) {
        situation.ballAcceptable = autoplay.ballAcceptable;
        situation.choosingPrizeBall = !bPrizeBallChosen;
        for (int ball = 0; ball < kBallCount; ++ball)
            if (axBalls[ball].isBlue) situation.blueBall = ball;
    }
    return situation;
}

void TouchCentreOf(const MenuButton& button) {
    platform::InjectTouch(static_cast<int16_t>(button.x + button.width / 2),
                          static_cast<int16_t>(button.y + button.height / 2));
}

}  // namespace

void AutoplayMenuStarted(const TouchMenu& menu) {
    ModelledPlayer* player = Player();
    if (!player) return;
    autoplay.menu = menu;
    SetDeadline(autoplay.touchDeadline, kTouchDelayMs);
    player->MenuStarted(menu.kind);
}

void AutoplayMenuPass() {
    ModelledPlayer* player = Player();
    if (!player || !autoplay.menu || !DeadlinePassed(autoplay.touchDeadline)) return;
    SetDeadline(autoplay.touchDeadline, kTouchDelayMs);
    const TouchMenu& menu = *autoplay.menu;
    const int button = player->ChooseButton(menu.kind, SituationOf(menu.kind));
    if (button >= 0 && button < CountMenuButtons(menu.buttons)) TouchCentreOf(menu.buttons[button]);
}

void SetAutoplayBallChooser(bool (*acceptable)(int ball)) {
    autoplay.ballAcceptable = acceptable ? acceptable : BallOnBoard;
}

void StartAutoplay(const platform::AutoplaySettings& settings) {
    autoplay.optionsRead = true;
    autoplay.player.emplace(settings);
    autoplay.menu.reset();
}

void StopAutoplay() {
    autoplay.optionsRead = false;
    autoplay.player.reset();
    autoplay.menu.reset();
}
