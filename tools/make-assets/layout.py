"""Where the game draws each picture, and the sizes that follow from it. Sizes are per frame
(width, height); a strip of f frames is f of these stacked top to bottom. Boxes are
(left, top, right, bottom) in screen pixels, right and bottom outside."""

SCREEN = (800, 600)  # every background, drawn at (0, 0)

# ---- attract screen
# Main Menu (0, 469), Rules (265, 469), Start or Insert Coins (535, 469): 2 frames each, reaching
# the bottom of the screen. Their touch areas are 160 x 160 squares from y 437.
ATTRACT_BUTTON = (264, 131)
ATTRACT_BUTTON_AT = {"menu": (0, 469), "rules": (265, 469), "start": (535, 469)}
ATTRACT_TOUCH = {"menu": (41, 437, 201, 597), "rules": (320, 437, 480, 597),
                 "start": (599, 437, 759, 597)}
# Credit panel at (0, 0), bank panel at (600, 0), drawn keyed; the amount box is 94 x 29 at
# (40, 46) and (670, 46). 200 wide so the bank panel ends at the screen's edge.
MONEY_PANEL = (200, 92)
CREDIT_TEXT_BOX = (40, 46, 134, 75)
BANK_TEXT_BOX = (670, 46, 764, 75)
# The highlight is drawn at (194, 236), (404, 307) and (614, 236), turning about its centre, and
# must stay inside the highlight area x 94 to 708, y 217 to 372: 64 square, its light inside the
# circle it turns in.
HIGHLIGHT = (64, 64)
# Rules screen: Back button, 2 frames, keyed, at (265, 481) down to the screen's bottom.
BACK_BUTTON = (268, 118)
BACK_AT = (265, 481)

# ---- stake screen
# Doors at (72, 152) and (478, 152), 11 frames, standing on the play buttons at y 450; mirror
# images about x 400, so 250 wide. Touch areas: x 84 to 333 and 466 to 715, y 166 to 549.
DOOR = (250, 298)
POUND_DOOR_AT, FIFTY_DOOR_AT = (72, 152), (478, 152)
# Play buttons at (79, 450) and (459, 450), 2 frames; the redraw area x 79 to 723, y 450 to 563
# covers both exactly.
PLAY_BUTTON = (264, 113)
# The spinning stake pictures at (111, 243) and (495, 243), mirror images about x 400 and above
# the play buttons: 194 wide, 194 high.
STAKE_PICTURE = (194, 194)

# ---- question screen
# TRUE (0, 469) and FALSE (535, 469), 3 frames; touch areas 236 x 79 at (13, 507), (552, 507).
ANSWER_BUTTON = (264, 131)
TRUE_AT, FALSE_AT = (0, 469), (535, 469)
TRUE_TOUCH, FALSE_TOUCH = (13, 507, 249, 586), (552, 507, 788, 586)
# Question panel at (92, 206) holding the number box 25 x 25 at (425, 224) and the text box
# 454 x 109 at (172, 265); mirror image about x 400. Congrats.bmp replaces it at the same place.
QUESTION_PANEL = (616, 188)
QUESTION_PANEL_AT = (92, 206)
QUESTION_NUMBER_BOX = (425, 224, 450, 249)
# Try-again panel at (311, 469) around the count box 93 x 31 at (355, 527), between TRUE and
# FALSE.
TRY_AGAIN_PANEL = (180, 100)
TRY_AGAIN_AT = (311, 469)
TRY_AGAIN_BOX = (355, 527, 448, 558)
# Answer clock panel at (306, 0) around the seconds box 100 x 31 at (351, 45); it fills the gap
# in the sparkle arch (x 273 to 530).
CLOCK_PANEL = (188, 88)
CLOCK_AT = (306, 0)
CLOCK_BOX = (351, 45, 451, 76)
# Result animations, 7 frames at (303, 216): a banner across the panel's heading row (x 303 to
# 497, y 216 to 264, over QUESTION and its number), clear of the text box below it.
RESULT = (194, 48)

# ---- ball game
# Ball cells 73 x 110 at the ball positions (x 42 + 75 i in rows at y 102, 217, 332); 11 frames
# from closed to open; touch area 60 x 87 from (x + 10, y + 23).
BALL = (73, 110)
# The value on an open ball: 10 frames drawn at (ball x + 6, ball y + 22), inside the ball.
VALUE = (61, 34)
VALUE_OFFSET = (6, 22)
# Win-plan plates: 24 cells of 140 x 27, at x 660 and y 570 - 27 k.
PLATE = (140, 27)
# Prompts at (55, 493) in the prompt area x 55 to 255, y 493 to 553.
PROMPT = (200, 60)
# The player's ball: halves at (342, 468) and (402, 468) that part by 75 each inside the box
# x 265 to 538, y 466 to 583; 60 wide, 115 high.
PLAYER_HALF = (60, 115)
# The title plate across it at (301, 493) inside the player's-ball area x 300 to 510.
TITLE_PLATE = (202, 44)
# The inside of the player's ball at (327, 475), shown between the parted halves (x 327 to 477,
# y 475 to 571), holding the value box 102 x 34 at (352, 505). 152 wide for the sprite reader.
BALL_INSIDE = (152, 96)
BALL_INSIDE_AT = (327, 475)
# The offer ball (and the end ball): halves 100 wide at (300, 185) and (400, 185) that open to
# (153, 185) and (547, 185) beside the plate; dropped in from y -200, so 200 high.
OFFER_HALF = (100, 200)
# Offer plate at (253, 200), 294 x 172, with the amount box 102 x 34 at (349, 269) and the Take
# and Leave buttons (140 x 50 at (255, 310) and (405, 310); touch 134 x 39 at (258, 316) and
# (408, 316)). 296 wide for the sprite reader; the two extra columns lie under the right half.
OFFER_PLATE = (296, 172)
OFFER_PLATE_AT = (253, 200)
OFFER_TEXT_BOX = (349, 269, 451, 303)
TAKE_LEAVE_BUTTON = (140, 50)
TAKE_AT, LEAVE_AT = (255, 310), (405, 310)
# End plates at (254, 214), 292 x 172, between the halves at 154 and 545; the win amount box
# 102 x 34 at (349, 330).
END_PLATE = (292, 172)
END_PLATE_AT = (254, 214)
END_TEXT_BOX = (349, 330, 451, 364)
# The sparkle, restored from the background in a 33 x 33 box wherever it is drawn.
SPARKLE = (33, 33)
# The 35 places of the sparkle along the arch over the top of the screen.
SPARKLE_PLACES = [
    (9, 53), (28, 46), (46, 41), (63, 35), (80, 31), (95, 26), (109, 21), (161, 11), (180, 9),
    (200, 7), (219, 4), (237, 2), (255, 0), (273, -2), (326, -5), (345, -5), (346, -6),
    (384, -6), (402, -5), (421, -5), (440, -5), (494, -2), (512, 0), (530, 2), (548, 4),
    (567, 7), (587, 9), (607, 11), (658, 22), (673, 26), (688, 31), (704, 36), (721, 41),
    (739, 47), (758, 52)]

# ---- end of the game
# The swoop video fills the screen; the player's ball is drawn over it at (340, 33) and
# (400, 33) with the title plate at (300, 58).
VIDEO_FRAMES = 40

# Prize values: the two stakes' tables together, with the value pictures' own list (and 1000).
VALUE_PICTURES = [5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200, 300, 500,
                  1000]
# Win-plan cell of each value, top prize first; the four empty values have their own plates.
WIN_PLAN_CELLS = [500, 300, 200, 150, 100, 90, 80, 70, 60, 50, 45, 40, 35, 30, 25, 20, 15, 10, 5,
                  1, 2, 3, 4]


def short_money(pence):
    """A prize as a board or plate shows it: 50p, £1, £1.50."""
    if pence < 100:
        return "%dp" % pence
    if pence % 100 == 0:
        return "\u00a3%d" % (pence // 100)
    return "\u00a3%.2f" % (pence / 100.0)
