// Paths through the ball game: seven right answers, the prize ball picked by touch, after the
// blue ball was refused, or by the clock; each of the four offers taken; every offer refused
// with the own ball kept (worth something, or empty); a refused offer lost on its question; and
// the win paid in pounds only, pence only, or both.
//
// The game's draws are fixed by the virtual clock, so the board dealt for a stake is the same in
// every run below; the player's seed decides which balls it picks and so the offers it is made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "control/controller.h"
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

// The game was won: the amount paid as whole pounds to the bank and pence to the credit, the
// win sequence played and the win booked against the stake.
void ExpectWon(const PathRun& run, int stake, int amount, const Moves& payment) {
    Moves moves{"CUSE," + std::to_string(stake) + "\r\n"};
    moves.insert(moves.end(), payment.begin(), payment.end());
    moves.push_back("TERM\r\n");
    EXPECT_EQ(run.MoneyMoves(), moves);
    EXPECT_TRUE(run.Traced("sound 11")) << "the win sequence";
    EXPECT_FALSE(run.Traced("sound 7")) << "no loss sequence";
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

// The cabinet is shut down while the congratulations play: the win is paid at once and booked with
// it, so the meters' paid-out total still agrees with the credit service.
TEST_F(GamePaths, AWinInterruptedByTheWindowClosingIsPaidAndBooked) {
    const PathRun whole = Play(PathSetup(100).Autoplay("take=1,seed=1"));
    long winStarts = -1;
    for (const TimedEvent& event : Events(whole))
        if (event.event == "sound 11") winStarts = event.ms;
    ASSERT_GT(winStarts, 0) << whole.trace;

    std::filesystem::remove_all("data");  // the second run starts from fresh meters
    const PathRun cut = Play(PathSetup(100)
                                 .Autoplay("take=1,seed=1")
                                 .Touches(std::to_string(winStarts + 500) + " close\n"));
    EXPECT_EQ(cut.exitStatus, 0) << cut.output;
    EXPECT_TRUE(cut.Traced("close"));
    EXPECT_EQ(cut.MoneyMoves(), (Moves{"CUSE,50\r\n", "CADD,40\r\n", "TERM\r\n"}));
    EXPECT_EQ(cut.Counter(counter::kWonTotal), 40);
    EXPECT_EQ(cut.Counter(counter::kWon50p), 40);
    EXPECT_EQ(cut.Counter(counter::kWinningGames), 1);
    EXPECT_EQ(cut.creditAfter, 90);
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
