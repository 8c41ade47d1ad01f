#include "app/autoplay.h"

#include <optional>
#include <vector>

#include "base/waits.h"
#include "platform/platform.h"
#include "rules/board.h"
#include "screens/attract.h"
#include "screens/stake_screen.h"

namespace {

constexpr uint32_t kTouchDelayMs = 300;

}  // namespace

// ---- The decisions ----------------------------------------------------------------------------

ModelledPlayer::ModelledPlayer(const platform::AutoplaySettings& settings)
    : settings_(settings), random_(settings.seed) {}

void ModelledPlayer::MenuStarted(MenuKind kind) {
    touchesThisMenu_ = 0;
    // TRUE and FALSE always end the answer menu, so an answer touched there has been given. An
    // answer menu that ended otherwise (the Pass area touched, which the game ignores) starts
    // again on the same question, and the same letter of the script answers it.
    if (answerTouched_) ++answersThisGame_;
    answerTouched_ = false;
    if (kind == MenuKind::TakeOrLeave) ++offersThisGame_;
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
    return kNoButton;
}

// Plays its games while the money lasts; leaves by Main Menu once they are played. Short of
// money it waits, as a player looking for coins does (the attract screen ends after 30 s).
int ModelledPlayer::ChooseOnAttract(int money) {
    if (gamesStarted_ >= settings_.games) return kAttractMainMenu;
    if (money < kStartMoney) return kNoButton;
    ++gamesStarted_;
    offersThisGame_ = 0;
    answersThisGame_ = 0;
    answerTouched_ = false;
    return kAttractStart;
}

int ModelledPlayer::ChooseStake(int money) const {
    return settings_.stake == 100 && money >= kPoundMoney ? kStakePound : kStakeFiftyPence;
}

// The script decides the answers it covers, one letter for each answer given; a late answer is
// no touch at all, so the answer clock runs out (and the game is lost).
int ModelledPlayer::ChooseAnswer(int correctAnswer) {
    const int rightButton = correctAnswer == 1 ? kAnswerTrue : kAnswerFalse;
    const int wrongButton = correctAnswer == 1 ? kAnswerFalse : kAnswerTrue;
    const size_t answer = static_cast<size_t>(answersThisGame_);
    if (answer < settings_.answers.size() && settings_.answers[answer] == 'L') return kNoButton;
    answerTouched_ = true;
    if (answer < settings_.answers.size()) {
        return settings_.answers[answer] == 'R' ? rightButton : wrongButton;
    }
    const bool answersRight = static_cast<int>(random_() % 100) < settings_.rightPercent;
    return answersRight ? rightButton : wrongButton;
}

int ModelledPlayer::ChooseBall(const MenuSituation& situation) {
    const int touch = touchesThisMenu_++;
    if (situation.choosingPrizeBall) {
        if (settings_.pick == platform::PrizePick::Wait) return kNoButton;
        if (settings_.pick == platform::PrizePick::Blue && touch == 0 && situation.blueBall >= 0)
            return situation.blueBall;
    }
    return ChooseAcceptableBall(situation.ballAcceptable);
}

int ModelledPlayer::ChooseAcceptableBall(bool (*acceptable)(int ball)) {
    std::vector<int> balls;
    for (int ball = 0; ball < kBallCount; ++ball)
        if (!acceptable || acceptable(ball)) balls.push_back(ball);
    if (balls.empty()) return kNoButton;
    return balls[random_() % balls.size()];
}

int ModelledPlayer::ChooseOnOffer() const {
    return offersThisGame_ == settings_.takeOffer ? kTakeButton : kLeaveButton;
}

// ---- The player in the running game -----------------------------------------------------------

namespace {

// The modelled player at the cabinet: it watches the menus as a player looks at the screen, and
// touches the centre of the button it chooses 300 ms after a menu starts waiting and every 300 ms
// after that while the menu still waits.
class AutoplayWatcher final : public MenuWatcher {
  public:
    explicit AutoplayWatcher(const platform::AutoplaySettings& settings) : player_(settings) {}

    void MenuStarted(const MenuView& view) override {
        SetDeadline(touchDeadline_, kTouchDelayMs);
        player_.MenuStarted(view.kind);
    }

    void MenuWaiting(const MenuView& view) override {
        if (!DeadlinePassed(touchDeadline_)) return;
        SetDeadline(touchDeadline_, kTouchDelayMs);
        const int button = player_.ChooseButton(view.kind, view.shown);
        if (button >= 0 && button < view.buttonCount) TouchCentreOf(view.buttons[button]);
    }

  private:
    static void TouchCentreOf(const MenuButton& button) {
        platform::InjectTouch(static_cast<int16_t>(button.x + button.width / 2),
                              static_cast<int16_t>(button.y + button.height / 2));
    }

    ModelledPlayer player_;
    uint32_t touchDeadline_ = 0;
};

std::optional<AutoplayWatcher> autoplay;

}  // namespace

void StartAutoplay(const platform::AutoplaySettings& settings) {
    autoplay.emplace(settings);
    WatchMenus(&*autoplay);
}

void StopAutoplay() {
    WatchMenus(nullptr);
    autoplay.reset();
}
