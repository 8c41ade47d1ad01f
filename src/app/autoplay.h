// The modelled player of the harness (--autoplay): a player that touches the screen for itself
// whenever a touch menu waits. 300 ms after a menu starts it touches the centre of the button it
// chooses, and again every 300 ms while the menu still waits (a touch the menu refused).
//
// It buys games while it has games left to play and money to pay for them, then leaves by Main
// Menu; it stakes as told; answers as its script says (right, wrong or too late), and beyond the
// script right with the chance it was given; picks its prize ball as told (a ball the menu
// accepts, the blue ball first, or none at all) and then opens balls the menu accepts; and takes
// the K-th offer of a game. Its random numbers are its own, so the game's
// generator draws exactly as it would with a human player.
#pragma once

#include <cstdint>
#include <random>

#include "platform/harness/autoplay_settings.h"
#include "screens/touch_menu.h"

// The player's decisions, without the screen.
class ModelledPlayer {
  public:
    explicit ModelledPlayer(const platform::AutoplaySettings& settings);

    // A menu has started waiting (offers are counted here, one per take-or-leave menu).
    void MenuStarted(MenuKind kind);
    // The button to touch, or kNoButton to touch nothing yet.
    int ChooseButton(MenuKind kind, const MenuSituation& situation);

    int GamesStarted() const { return gamesStarted_; }

  private:
    int ChooseOnAttract(int money);
    int ChooseStake(int money) const;
    int ChooseAnswer(int correctAnswer);
    int ChooseBall(const MenuSituation& situation);
    int ChooseAcceptableBall(bool (*acceptable)(int ball));
    int ChooseOnOffer() const;

    platform::AutoplaySettings settings_;
    std::mt19937 random_;
    int gamesStarted_ = 0;
    int offersThisGame_ = 0;
    int answersThisGame_ = 0;     // answers given in this game: letters of the script used up
    bool answerTouched_ = false;  // an answer touched in the menu now waiting
    int touchesThisMenu_ = 0;     // touches chosen since the current menu started
};

// ---- The player in the running game -----------------------------------------------------------
// Starts the modelled player at the cabinet: it watches every menu (screens/touch_menu.h) and
// touches the screen for itself; it reads no money and makes no exchange with the credit service
// of its own, so an autoplayed game is the game a person plays. The app starts it for --autoplay.
void StartAutoplay(const platform::AutoplaySettings& settings);
// Stops it; the menus are watched by nobody.
void StopAutoplay();
