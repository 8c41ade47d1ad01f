#include "app/new_run.h"

#include "app/autoplay.h"
#include "base/input.h"
#include "base/log.h"
#include "base/random.h"
#include "base/timers.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/credit/credit_link.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprites.h"
#include "engines/graphics/video.h"
#include "engines/sound/music.h"
#include "engines/sound/sound_effects.h"
#include "rules/board.h"
#include "rules/offer.h"
#include "rules/play_game.h"
#include "rules/question_packs.h"
#include "rules/question_rules.h"
#include "rules/winnings.h"
#include "screens/answer_clock.h"
#include "screens/attract.h"
#include "screens/board_drawing.h"
#include "screens/money_panels.h"
#include "screens/offer_frame.h"
#include "screens/opening_rounds.h"
#include "screens/prize_ball.h"
#include "screens/question_screen.h"
#include "screens/touch_menu.h"

namespace {

void ForgetScreens() {
    ForgetTouchMenus();
    ForgetAttractScreen();
    ForgetMoneyRead();
    ForgetAnswerClock();
    ForgetQuestionScreen();
    ForgetSparkle();
    ForgetBallMenuState();
    ForgetOfferBlink();
    ForgetOfferBox();
}

void ForgetRules() {
    ForgetBoard();
    ForgetOffer();
    ForgetRound();
    ForgetTryAgains();
    ForgetQuestion();
    ForgetWinnings();
}

// Top down within the engines too: the pictures that point into the display context are
// forgotten before the display releases it.
void ForgetEngines() {
    ResetGameState();
    ResetControlData();
    CloseCreditService();
    ForgetVideo();
    ForgetSoundEffects();
    ForgetMusic();
    ForgetText();
    ForgetGraphics();
    ForgetFadePictures();
    ForgetSprites();
    ResetDisplayForTests();
}

void ForgetBase() {
    LogClose();
    ResetInput();
    ResetTimers();
    ForgetRandomSeed();
}

}  // namespace

void ResetForNewRun() {
    StopAutoplay();
    ForgetScreens();
    ForgetRules();
    ForgetEngines();
    ForgetBase();
}
