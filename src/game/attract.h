// The attract screen and the stake screen that sell games.
#pragma once

// Runs the attract screen and, on Start, the stake screen. True when a game has been bought
// (uwPriceOfPlay holds its stake); false to end the program (Main Menu, or 30 s untouched).
bool WaitForStart();
