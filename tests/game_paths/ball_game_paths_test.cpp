// Paths through the ball game: seven right answers, the prize ball picked by touch, after the
// blue ball was refused, or by the clock; each of the four offers taken; every offer refused
// with the own ball kept (worth something, or empty); a refused offer lost on its question; and
// the win paid in pounds only, pence only, or both.
//
// The game's draws are fixed by the virtual clock, so the board dealt for a stake is the same in
// every run below; the player's seed decides which balls it picks and so the offers it is made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engines/control/controller.h"
#include "game_path.h"

namespace {

using Moves = std::vector<std::string>;

// The blue ball (always index 12) is touched at the centre of its box on the ball menu.
constexpr const char* kBlueBallTouch = "touch 392 283";
constexpr const char* kLeaveTouch = "touch 475 335";
constexpr const char* kTakeTouch = "touch 325 335";

int Sum(const PathRun& run, int first, int last) {
    int sum = 0;
    for (int index = first; index <= last; ++index)
        sum += run.Counter(index);
    return sum;
}

struct TimedEvent {
    long ms;
    std::string event;
};

std::vector<TimedEvent> Events(const PathRun& run) {
    std::vector<TimedEvent> events;
    std::istringstream lines(run.trace);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t space = line.find(' ');
        if (space != std::string::npos)
            events.push_back({atol(line.c_str()), line.substr(space + 1)});
    }
    return events;
}

// Sound 20 plays twice as the ball game starts: with the congratulations after the seventh
// right answer, and as the chosen prize ball is lifted. The deal and the pick lie between.
std::vector<TimedEvent> BetweenTheTwoChimes(const PathRun& run) {
    std::vector<TimedEvent> between;
    int chimes = 0;
    for (const TimedEvent& event : Events(run)) {
        if (event.event == "sound 20" && ++chimes == 2) break;
        if (chimes == 1 && event.event != "sound 20") between.push_back(event);
    }
    return between;
}

// The touches made while the prize ball was picked.
std::vector<TimedEvent> PrizePick(const PathRun& run) {
    std::vector<TimedEvent> touches;
    for (const TimedEvent& event : BetweenTheTwoChimes(run))
        if (event.event.rfind("touch ", 0) == 0) touches.push_back(event);
    return touches;
}

// When the deal's last flash was heard (sound of the flashes) and when the prize ball was lifted.
long DealEnd(const PathRun& run) {
    const std::vector<TimedEvent> between = BetweenTheTwoChimes(run);
    long last = -1;
    for (const TimedEvent& event : between)
        if (event.event.rfind("sound ", 0) == 0) last = event.ms;
    return last;
}

long PrizePickEnd(const PathRun& run) {
    int chimes = 0;
    for (const TimedEvent& event : Events(run))
        if (event.event == "sound 20" && ++chimes == 2) return event.ms;
    return -1;
}

int OffersMade(const PathRun& run) {
    return Sum(run, counter::kOffersBy5p, counter::kOffersOther);
}

int Count(const std::vector<int>& sounds, int sound) {
    int count = 0;
    for (int played : sounds)
        if (played == sound) ++count;
    return count;
}

// How many trace lines carry this event.
int TraceCount(const PathRun& run, const std::string& event) {
    int count = 0;
    size_t at = 0;
    const std::string needle = " " + event + "\n";
    while ((at = run.trace.find(needle, at)) != std::string::npos) {
        ++count;
        at += needle.size();
    }
    return count;
}

// Seven right answers took the player to the ball game of this stake.
void ExpectBallGameReached(const PathRun& run, int stake) {
    ASSERT_TRUE(run.recordPresent);
    EXPECT_EQ(run.Counter(counter::kQuestionsAsked), 7);
    EXPECT_EQ(run.Counter(counter::kQuestionRoundsLost), 0);
    EXPECT_EQ(run.Counter(counter::kBallGamesReached), 1);
    EXPECT_EQ(run.Counter(stake == 100 ? counter::kBallGamesPound : counter::kBallGames50p), 1);
    EXPECT_EQ(run.Counter(stake == 100 ? counter::kBallGames50p : counter::kBallGamesPound), 0);
    EXPECT_EQ(run.LogCount("Closing log\n"), 1);
    EXPECT_EQ(run.commands.back(), "TERM\r\n");
    EXPECT_EQ(run.exitStatus, 0);
}

// The win was paid as whole pounds to the bank and pence to the credit, TERM last, and booked
// against the stake; the program ended in order.
void ExpectWinBooked(const PathRun& run, int stake, int amount, const Moves& payment) {
    Moves moves{"CUSE," + std::to_string(stake) + "\r\n"};
    moves.insert(moves.end(), payment.begin(), payment.end());
    moves.push_back("TERM\r\n");
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.MoneyMoves(), moves);
    EXPECT_EQ(run.Counter(counter::kWonTotal), amount);
    EXPECT_EQ(run.Counter(stake == 100 ? counter::kWonPound : counter::kWon50p), amount);
    EXPECT_EQ(run.Counter(stake == 100 ? counter::kWon50p : counter::kWonPound), 0);
    EXPECT_EQ(run.Counter(counter::kWinningGames), 1);
    EXPECT_EQ(run.Counter(stake == 100 ? counter::kWinningGamesPound : counter::kWinningGames50p),
              1);
    const int byBand = stake == 100 ? counter::kWonPoundByBand : counter::kWon50pByBand;
    EXPECT_EQ(Sum(run, byBand, byBand + 6), amount);
    EXPECT_FLOAT_EQ(run.record.balances[stake == 100 ? 1 : 0],
                    static_cast<float>(amount) - 0.3f * static_cast<float>(stake));
    EXPECT_EQ(run.Counter(stake == 100 ? counter::kBallGameWonPound : counter::kBallGameWon50p),
              amount);
}

// The game was won and the win sequence played to its end.
void ExpectWon(const PathRun& run, int stake, int amount, const Moves& payment) {
    ExpectWinBooked(run, stake, amount, payment);
    EXPECT_TRUE(run.Traced("sound 11")) << "the win sequence";
    EXPECT_FALSE(run.Traced("sound 7")) << "no loss sequence";
}

// The game was lost in the ball game: nothing paid, nothing booked, the loss sequence played.
void ExpectLostInBallGame(const PathRun& run, int stake) {
    EXPECT_EQ(run.MoneyMoves(), (Moves{"CUSE," + std::to_string(stake) + "\r\n", "TERM\r\n"}));
    EXPECT_TRUE(run.Traced("sound 7")) << "the loss sequence's horn";
    EXPECT_FALSE(run.Traced("sound 11"));
    EXPECT_EQ(run.Counter(counter::kWonTotal), 0);
    EXPECT_EQ(run.Counter(counter::kWinningGames), 0);
}

// An offer was taken: the game ended at it, the own ball was not paid.
void ExpectOfferTaken(const PathRun& run, int offer) {
    EXPECT_EQ(OffersMade(run), offer);
    EXPECT_EQ(TraceCount(run, kTakeTouch), 1);
    EXPECT_EQ(TraceCount(run, kLeaveTouch), offer - 1);
    EXPECT_EQ(run.Counter(counter::kOwnBallPaid), 0) << "the board was not played out";
}

}  // namespace

// ---- Every offer refused: the own ball decides -----------------------------------------------

TEST_F(GamePaths, EveryOfferRefusedAndAnEmptyOwnBallLosesTheGame) {
    // Seed 1 at 50p picks an empty ball; its four offers are 5p, 40p, 50p and 85p.
    const PathRun run = Play(PathSetup(100).Autoplay("seed=1"));
    ExpectBallGameReached(run, 50);
    ExpectLostInBallGame(run, 50);
    EXPECT_EQ(OffersMade(run), 4);
    EXPECT_EQ(TraceCount(run, kLeaveTouch), 4);
    EXPECT_EQ(run.Counter(counter::kOwnBallUnder5p), 1);
    EXPECT_EQ(run.Counter(counter::kOwnBallPaid), 1) << "played to the last ball";
    EXPECT_EQ(run.Counter(counter::kBallGameWon50p), 0) << "an empty ball wins nothing";
    EXPECT_EQ(run.Counter(counter::kOffersAboveOwnBall), 4);
    EXPECT_EQ(Count(run.Sounds(), 30), 7 + 4) << "seven round answers and four after offers";
    ExpectReport("every_offer_refused_own_ball_empty", run);
}

TEST_F(GamePaths, EveryOfferRefusedAndTheOwnBallWorthEightyPenceIsPaidToTheCredit) {
    // Seed 3 at £1 picks the 80p ball; its four offers are 65p, 75p, 75p and 85p.
    const PathRun run = Play(PathSetup(200).Autoplay("stake=100,seed=3"));
    ExpectBallGameReached(run, 100);
    ExpectWon(run, 100, 80, {"CADD,80\r\n"});
    EXPECT_EQ(OffersMade(run), 4);
    EXPECT_EQ(run.Counter(counter::kOwnBallPaid), 1);
    EXPECT_EQ(run.Counter(counter::kBallGameWonPound), 80);
    EXPECT_EQ(run.Counter(counter::kOwnBallByValue + 12), 1) << "the 80p counter";
    EXPECT_EQ(run.Counter(counter::kOffersAboveOwnBall), 1);
    EXPECT_EQ(run.creditAfter, 180);
    ExpectReport("every_offer_refused_own_ball_80p", run);
}

// ---- A run cut short after the win was decided ------------------------------------------------
// From the Take touch, or from the moment the own ball kept to the end is opened, the win is the
// player's: a window closed or a stop signal at any moment up to the end of the win sequence
// pays it, books it with the payment, saves the meters and sends TERM last.

namespace {

long FirstTimeOf(const PathRun& run, const std::string& event) {
    for (const TimedEvent& timed : Events(run))
        if (timed.event == event) return timed.ms;
    return -1;
}

// The attract screen's music starting again after the win sequence: the game is over.
long WinSequenceOver(const PathRun& run) {
    const long winStarts = FirstTimeOf(run, "sound 11");
    for (const TimedEvent& timed : Events(run))
        if (timed.ms > winStarts && timed.event == "music play") return timed.ms;
    return -1;
}

// The own ball kept to the end opens with sound 43: the last one before the win sequence.
long OwnBallOpens(const PathRun& run) {
    const long winStarts = FirstTimeOf(run, "sound 11");
    long opens = -1;
    for (const TimedEvent& timed : Events(run))
        if (timed.ms < winStarts && timed.event == "sound 43") opens = timed.ms;
    return opens;
}

class CutShortPaths : public GamePaths {
  public:
    using GamePaths::Play;
};

// Closes the window at `moments` evenly spread from `from` to `to` (the first right at `from`) in
// runs of `setup`: every run must pay and book the win.
void ExpectEveryCloseKeepsTheWin(CutShortPaths& paths, PathSetup setup, long from, long to,
                                 int moments, int stake, int amount, const Moves& payment) {
    for (int moment = 0; moment < moments; ++moment) {
        const long closeAt = from + (to - from) * moment / (moments - 1);
        SCOPED_TRACE("closed at " + std::to_string(closeAt) + " ms");
        std::filesystem::remove_all("data");  // every run starts from fresh meters
        const PathRun cut = paths.Play(setup.Touches(std::to_string(closeAt) + " close\n"));
        EXPECT_TRUE(cut.Traced("close"));
        ExpectWinBooked(cut, stake, amount, payment);
        EXPECT_EQ(cut.LogCount("Closing log\n"), 1);
        std::printf(
            "[ figures  ] closed at %ld ms: %s paid\n", closeAt,
            cut.MoneyMoves().size() > 2 ? cut.MoneyMoves()[1].substr(0, 8).c_str() : "nothing");
    }
}

}  // namespace

TEST_F(CutShortPaths, AnOfferTakenIsPaidWhateverMomentTheWindowClosesAfterTake) {
    const PathSetup setup = PathSetup(100).Autoplay("take=1,seed=1");
    const PathRun whole = Play(setup);
    ExpectWon(whole, 50, 40, {"CADD,40\r\n"});
    const long take = FirstTimeOf(whole, kTakeTouch);
    const long over = WinSequenceOver(whole);
    ASSERT_GT(take, 0);
    ASSERT_GT(over, take) << whole.trace;
    // A close due in the very millisecond of the touch comes before it: from the next one on.
    ExpectEveryCloseKeepsTheWin(*this, setup, take + 1, over + 200, 12, 50, 40, {"CADD,40\r\n"});
}

TEST_F(CutShortPaths, AnOwnBallKeptToTheEndIsPaidWhateverMomentTheWindowClosesAfterItOpens) {
    // Seed 3 at £1 keeps the 80p ball to the end.
    const PathSetup setup = PathSetup(200).Autoplay("stake=100,seed=3");
    const PathRun whole = Play(setup);
    ExpectWon(whole, 100, 80, {"CADD,80\r\n"});
    const long opens = OwnBallOpens(whole);
    const long over = WinSequenceOver(whole);
    ASSERT_GT(opens, 0);
    ASSERT_GT(over, opens) << whole.trace;
    // The last ball leaves the board as the own ball starts to open: from the next millisecond on.
    ExpectEveryCloseKeepsTheWin(*this, setup, opens + 1, over, 6, 100, 80, {"CADD,80\r\n"});
}

// A service stop sends SIGTERM: the game ends by the same orderly path as a closed window.
TEST_F(GamePaths, AStopSignalAfterTakePaysTheWinAndEndsInOrder) {
    const PathRun cut = Play(PathSetup(100).Autoplay("take=1,seed=1").TerminateAt(kTakeTouch));
    EXPECT_EQ(cut.signal, 0) << "caught, not killed";
    EXPECT_TRUE(cut.Traced("signal 15"));
    ExpectWinBooked(cut, 50, 40, {"CADD,40\r\n"});
    EXPECT_EQ(cut.LogCount("Closing log\n"), 1);
}

TEST_F(GamePaths, AStopSignalOnTheAttractScreenEndsInOrder) {
    const PathRun cut = Play(PathSetup(0).TerminateAt("music play"));
    EXPECT_EQ(cut.exitStatus, 0) << cut.output;
    EXPECT_EQ(cut.MoneyMoves(), Moves{"TERM\r\n"});
    EXPECT_EQ(cut.LogCount("Closing log\n"), 1);
}

// ---- The modelled player plays the game a person plays ----------------------------------------
// The modelled player only touches the screen: the same touches from a script make the same game,
// down to every exchange with the credit service (it reads no money of its own).

std::string TouchScriptOf(const PathRun& run) {
    std::string script;
    for (const TimedEvent& timed : Events(run))
        if (timed.event.rfind("touch ", 0) == 0)
            script += std::to_string(timed.ms) + " " + timed.event.substr(6) + "\n";
    return script;
}

TEST_F(GamePaths, AnAutoplayedGameIsTheGameItsTouchesPlay) {
    const PathRun autoplayed = Play(PathSetup(300).Autoplay("games=2,stake=100,take=2,seed=7"));
    ASSERT_TRUE(autoplayed.Traced("sound 20")) << "the ball game was reached";
    std::filesystem::remove_all("data");
    std::filesystem::remove_all("~system");
    const PathRun touched = Play(PathSetup(300).Touches(TouchScriptOf(autoplayed)));
    EXPECT_EQ(touched.commands, autoplayed.commands);
    EXPECT_EQ(touched.trace, autoplayed.trace);
    EXPECT_TRUE(std::ranges::equal(touched.record.counters, autoplayed.record.counters));
}

// ---- The clock wrapping mid-game ----------------------------------------------------------------
// The millisecond clock wraps every 49.7 days. A game played across the wrap (here it falls in the
// middle of the ball game) is the same game as one played from 0: the same credit exchanges, the
// same meters and the same trace, its times moved on.

std::string TraceMovedBack(const std::string& trace, uint32_t by) {
    std::istringstream lines(trace);
    std::string line, moved;
    while (std::getline(lines, line)) {
        const size_t space = line.find(' ');
        const uint32_t ms = static_cast<uint32_t>(std::stoul(line.substr(0, space)));
        moved += std::to_string(ms - by) + line.substr(space) + "\n";
    }
    return moved;
}

TEST_F(GamePaths, AGamePlayedAcrossTheClockWrapIsTheGamePlayedFromZero) {
    const PathSetup setup = PathSetup(300).Autoplay("games=2,stake=100,take=2,seed=7");
    const PathRun fromZero = Play(setup);
    const long ballGame = FirstTimeOf(fromZero, "sound 20");
    ASSERT_GT(ballGame, 0);
    const uint32_t start = 0u - static_cast<uint32_t>(ballGame) - 5000u;  // wraps in the ball game

    std::filesystem::remove_all("data");
    std::filesystem::remove_all("~system");
    PathSetup moved = setup;
    const PathRun acrossTheWrap = Play(moved.ClockStart(start));
    EXPECT_EQ(acrossTheWrap.commands, fromZero.commands);
    EXPECT_TRUE(std::ranges::equal(acrossTheWrap.record.counters, fromZero.record.counters));
    EXPECT_TRUE(std::ranges::equal(acrossTheWrap.record.balances, fromZero.record.balances));
    EXPECT_EQ(TraceMovedBack(acrossTheWrap.trace, start), fromZero.trace);
    EXPECT_EQ(acrossTheWrap.log, fromZero.log);
    EXPECT_EQ(acrossTheWrap.exitStatus, 0);
}

// ---- Offers taken: the win paid as pounds, pence or both -------------------------------------
// At 50p, seed 2 picks an empty ball and is offered 40p, 45p, £1 and 90p in turn; seed 1 is
// offered 40p first. At £1, seed 1 picks an empty ball and is offered 55p, 70p, £1.30 and 5p.

TEST_F(GamePaths, TheFirstOfferTakenWinsFortyPencePaidToTheCreditAlone) {
    const PathRun run = Play(PathSetup(100).Autoplay("take=1,seed=1"));
    ExpectBallGameReached(run, 50);
    ExpectOfferTaken(run, 1);
    ExpectWon(run, 50, 40, {"CADD,40\r\n"});
    EXPECT_EQ(run.Counter(counter::kOffersBy5p + 7), 1) << "the 40p offer";
    EXPECT_EQ(run.creditAfter, 90);
    EXPECT_EQ(run.bankAfter, 0);
    ExpectReport("offer_1_taken_40p", run);
}

TEST_F(GamePaths, TheSecondOfferTakenWinsFortyFivePence) {
    const PathRun run = Play(PathSetup(100).Autoplay("take=2,seed=2"));
    ExpectBallGameReached(run, 50);
    ExpectOfferTaken(run, 2);
    ExpectWon(run, 50, 45, {"CADD,45\r\n"});
    ExpectReport("offer_2_taken_45p", run);
}

TEST_F(GamePaths, TheThirdOfferOfAPoundIsPaidToTheBankAlone) {
    const PathRun run = Play(PathSetup(100).Autoplay("take=3,seed=2"));
    ExpectBallGameReached(run, 50);
    ExpectOfferTaken(run, 3);
    ExpectWon(run, 50, 100, {"BADD,100\r\n"});
    EXPECT_EQ(run.Counter(counter::kOffersBy5p + 19), 1) << "the 100p offer";
    EXPECT_EQ(run.creditAfter, 50);
    EXPECT_EQ(run.bankAfter, 100);
    ExpectReport("offer_3_taken_100p", run);
}

TEST_F(GamePaths, TheFourthOfferTakenWinsTheFivePenceFloor) {
    const PathRun run = Play(PathSetup(200).Autoplay("stake=100,take=4,seed=1"));
    ExpectBallGameReached(run, 100);
    ExpectOfferTaken(run, 4);
    ExpectWon(run, 100, 5, {"CADD,5\r\n"});
    EXPECT_EQ(run.Counter(counter::kOffersBy5p), 1) << "the 5p offer";
    EXPECT_EQ(run.creditAfter, 105);
    ExpectReport("offer_4_taken_5p", run);
}

TEST_F(GamePaths, AnOfferOfPoundsAndPenceIsPaidToTheBankAndThenTheCredit) {
    const PathRun run = Play(PathSetup(200).Autoplay("stake=100,take=3,seed=1"));
    ExpectBallGameReached(run, 100);
    ExpectOfferTaken(run, 3);
    ExpectWon(run, 100, 130, {"BADD,100\r\n", "CADD,30\r\n"});
    EXPECT_EQ(run.Counter(counter::kOffersBy10p + 2), 1) << "the 130p offer";
    EXPECT_EQ(run.creditAfter, 130);
    EXPECT_EQ(run.bankAfter, 100);
    ExpectReport("offer_3_taken_130p", run);
}

// ---- A refused offer lost on its question ----------------------------------------------------

TEST_F(GamePaths, ARefusedOfferLostOnItsQuestionEndsTheGameWithoutTheOwnBall) {
    // Seven right answers, the first offer left, and its question answered wrong: no try-again
    // in the ball game, no reveal of the own ball, nothing paid.
    const PathRun run = Play(PathSetup(100).Autoplay("answers=RRRRRRRW,seed=1"));
    ExpectBallGameReached(run, 50);
    ExpectLostInBallGame(run, 50);
    EXPECT_EQ(OffersMade(run), 1);
    EXPECT_EQ(TraceCount(run, kLeaveTouch), 1);
    EXPECT_FALSE(run.Traced("sound 45")) << "no try-again after an offer";
    EXPECT_EQ(Count(run.Sounds(), 5), 1) << "the wrong answer";
    EXPECT_EQ(run.Counter(counter::kQuestionsAsked), 7) << "the offer's question is not a round's";
    EXPECT_EQ(run.Counter(counter::kOwnBallPaid), 0);
    ExpectReport("refused_offer_lost_on_its_question", run);
}

// ---- The prize pick -------------------------------------------------------------------------

TEST_F(GamePaths, TheBlueBallIsRefusedAsThePrizeBallAndAnotherIsPicked) {
    const PathRun run = Play(PathSetup(100).Autoplay("pick=blue,take=1,seed=1"));
    ExpectBallGameReached(run, 50);
    const std::vector<TimedEvent> pick = PrizePick(run);
    ASSERT_EQ(pick.size(), 2u) << "two touches while the prize ball is picked";
    EXPECT_EQ(pick[0].event, kBlueBallTouch) << "the blue ball first";
    EXPECT_NE(pick[1].event, kBlueBallTouch);
    EXPECT_EQ(pick[1].event.rfind("touch ", 0), 0u) << "then another ball";
    ExpectOfferTaken(run, 1);
    ExpectReport("prize_pick_blue_refused", run);
}

TEST_F(GamePaths, APrizePickWithoutATouchTimesOutAndTheGameChooses) {
    const PathRun run = Play(PathSetup(100).Autoplay("pick=wait,take=1,seed=1"));
    ExpectBallGameReached(run, 50);
    EXPECT_TRUE(PrizePick(run).empty()) << "no touch while the prize ball is picked";
    EXPECT_GE(PrizePickEnd(run) - DealEnd(run), 10000) << "the ten-second clock ran out";
    ExpectOfferTaken(run, 1);
    ExpectReport("prize_pick_time_out", run);
}

TEST_F(GamePaths, APrizePickByTouchLiftsTheBallAtOnce) {
    const PathRun run = Play(PathSetup(100).Autoplay("take=1,seed=1"));
    ExpectBallGameReached(run, 50);
    ASSERT_EQ(PrizePick(run).size(), 1u);
    EXPECT_LT(PrizePickEnd(run) - DealEnd(run), 10000);
    ExpectOfferTaken(run, 1);
}
