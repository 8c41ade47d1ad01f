"""Every file of the content set, by the name the game opens it with (separators as "/"), and
how it is made. The groups are independent, so they can be made side by side."""

import ballgame
import fonts
import formats
import legacy
import screens
import stake


def _sprite(picture):
    return formats.sprite_bmp(picture.convert("RGB"))


def menu_files():
    """The loading screen, the attract screen and the rules screen."""
    menu = "Graphic_resource/Menu/"
    return {
        "Graphic_resource/Loading/LoadingScreen.BMP": _sprite(screens.loading_screen()),
        menu + "OptionBackgroundBLank.BMP": _sprite(screens.attract_background()),
        menu + "MenuBlank.BMP": _sprite(screens.attract_button("menu")),
        menu + "OptionBlank.BMP": _sprite(screens.attract_button("rules")),
        menu + "PlayBlank.BMP": _sprite(screens.attract_button("start")),
        menu + "InsertCoins.BMP": _sprite(screens.attract_button("coins")),
        menu + "CreditBlank.BMP": _sprite(screens.credit_panel()),
        menu + "BankBlank.BMP": _sprite(screens.bank_panel()),
        menu + "InfoScreen.BMP": _sprite(screens.info_screen()),
        menu + "Back.BMP": _sprite(screens.back_button()),
        menu + "HiLite.tga": formats.tga(screens.highlight(), run_length=False),
        menu + "HiLite2.tga": formats.tga(ballgame.sparkle(), run_length=True),
    }


def question_files():
    """The question screen, its result animations and the round's intro and end pictures."""
    q = "Graphic_resource/Questions/"
    files = {
        q + "QBackground.BMP": _sprite(screens.question_background()),
        q + "QuestionBox.BMP": _sprite(screens.question_box()),
        q + "TrueButton.BMP": _sprite(screens.answer_button_strip("true")),
        q + "FalseButton.BMP": _sprite(screens.answer_button_strip("false")),
        q + "TryAgainTitle.BMP": _sprite(screens.try_again_title()),
        q + "Seconds.BMP": _sprite(screens.clock_panel()),
        "Graphic_resource/Main/IntroScreen.bmp": formats.picture_bmp(screens.intro_screen()),
        "Graphic_resource/Main/Congrats.bmp": formats.picture_bmp(screens.congrats_picture()),
    }
    for i, name in enumerate(ballgame.RESULTS):
        files[q + name + ".tga"] = formats.tga(ballgame.result_strip(name), run_length=i % 2 == 0)
    return files


def ball_game_files():
    """The board, the balls and their values, the win plan, the player's ball, the offer and
    the end of the game."""
    m = "Graphic_resource/Main/"
    left, right = ballgame.player_ball()
    offer_left, offer_right = ballgame.offer_ball()
    files = {
        m + "MainScreen.BMP": _sprite(screens.main_screen()),
        m + "Middle.BMP": _sprite(screens.ball_inside()),
        m + "Middle.tga": formats.tga(screens.ball_inside(), run_length=False),
        m + "OfferBase.BMP": _sprite(ballgame.offer_plate()),
        m + "OfferBase.tga": formats.tga(ballgame.offer_plate(), run_length=True),
        m + "CongratsBase.BMP": _sprite(ballgame.congrats_plate()),
        m + "GameOverBase.BMP": _sprite(ballgame.game_over_plate()),
        m + "RedBall.tga": formats.tga(ballgame.ball_strip("red"), run_length=True),
        m + "BlueBall.tga": formats.tga(ballgame.ball_strip("blue"), run_length=True),
        m + "EmptyRedCup.tga": formats.tga(ballgame.empty_cup("red"), run_length=False),
        m + "EmptyBlueCup.tga": formats.tga(ballgame.empty_cup("blue"), run_length=False),
        m + "PrizeBall.tga": formats.tga(ballgame.prize_ball(), run_length=False),
        m + "Winplan.tga": formats.tga(ballgame.win_plan(False), run_length=True),
        m + "WinplanBright.tga": formats.tga(ballgame.win_plan(True), run_length=True),
        m + "Vantorover.tga": formats.tga(ballgame.title_plate("VANTOR"), run_length=False),
        m + "PrizeBallover.tga": formats.tga(ballgame.title_plate("YOUR BALL"),
                                             run_length=False),
        m + "Your_ball_Left.tga": formats.tga(left, run_length=False),
        m + "Your_ball_Right.tga": formats.tga(right, run_length=False),
        m + "Open_Ball_Left.tga": formats.tga(offer_left, run_length=True),
        m + "Open_Ball_Right.tga": formats.tga(offer_right, run_length=True),
        m + "VornaOff.bmp": formats.picture_bmp(ballgame.take_leave_strip("lit")),
        m + "VornaPressed.bmp": formats.picture_bmp(ballgame.take_leave_strip("pressed")),
        m + "OfferBox.png": formats.png(ballgame.offer_box()),
    }
    for name, (lines, colour) in ballgame.PROMPTS.items():
        files[m + name + ".tga"] = formats.tga(ballgame.prompt(lines, colour), run_length=True)
    for i, (name, strip) in enumerate(ballgame.value_pictures().items()):
        files[m + name + ".tga"] = formats.tga(strip, run_length=i % 2 == 0)
    return files


def stake_files():
    s = "Graphic_resource/Stake/"
    files = {
        s + "StakeScreen.bmp": formats.picture_bmp(screens.stake_screen()),
        s + "AnimPound.bmp": formats.picture_bmp(stake.door_strip("pound")),
        s + "Anim50p.bmp": formats.picture_bmp(stake.door_strip("fifty")),
        s + "PoundPlay.png": formats.png(stake.play_button("pound")),
        s + "50pPlay.png": formats.png(stake.play_button("fifty")),
    }
    for prefix, name in (("Stake1", "pound"), ("Stake50p", "fifty")):
        for k, picture in enumerate(stake.stake_pictures(name)):
            files["%s%s%d.tga" % (s, prefix, k + 1)] = formats.tga(picture,
                                                                  run_length=k % 2 == 1)
    return files


# Sprite files loaded with frame counts but never drawn, with those counts.
LEGACY = {
    "Main/EndQBackground.BMP": 1, "Questions/Pass.BMP": 6, "Questions/TryAgain.BMP": 6,
    "Questions/Outcomes.BMP": 6, "Questions/QuestionNumbers.BMP": 15,
    "Questions/QuestionNumber13.BMP": 18, "Questions/PassTitle.BMP": 1, "Main/BACK.BMP": 1,
    "Main/CollectButton.BMP": 2, "Main/CarryOnButton.BMP": 2, "Main/WellDoneScreen.BMP": 1,
    "Main/Smallloaf.BMP": 13, "Main/BigLoaf.BMP": 13, "Main/Values.BMP": 19,
    "Main/Endgamedough.BMP": 1, "Menu/InfoCat.BMP": 3, "Menu/InfoScreenCatBlink.BMP": 2,
    "Main/TrailScreenCatBlink.BMP": 2, "Main/EndScreenCatBlink.BMP": 2, "Main/Oven.BMP": 3,
    "Main/EndOven.BMP": 1, "Main/TotalText.BMP": 1, "Main/CatBubble.BMP": 3,
    "Main/EndBackground.BMP": 1, "Main/CollectContinueScreen.BMP": 1,
    "Main/BakerArmPonder.BMP": 1, "Main/BakerArmShow.BMP": 1, "Main/Bonusloaf.BMP": 2,
}
LEGACY_COLOURS = [(150, 110, 60), (90, 110, 150), (120, 80, 120), (80, 130, 100)]


def font_and_legacy_files():
    files = {
        "Graphic_resource/Menu/BankCreditFont.BMP": _sprite(fonts.bank_credit_font().strip()),
        "Graphic_resource/Questions/QuestionFont.BMP": _sprite(fonts.question_font().strip()),
        "Graphic_resource/Main/PotFont.BMP": _sprite(fonts.pot_font().strip()),
        "Graphic_resource/Main/EndFont.BMP": _sprite(fonts.end_font().strip()),
        "Graphic_resource/Main/WinFont.BMP": _sprite(fonts.win_font().strip()),
        "Graphic_resource/font1a.PCX": formats.pcx(fonts.font1a().strip()),
        "Graphic_resource/transparency.PCX": formats.pcx(legacy.transparency()),
    }
    for i, (name, frames) in enumerate(LEGACY.items()):
        colour = LEGACY_COLOURS[i % len(LEGACY_COLOURS)]
        files["Graphic_resource/" + name] = _sprite(legacy.plain_strip(frames, colour))
    return files
