// One paid game, from the question round through the ball game to the win or loss sequence.
#pragma once

// Plays the game whose stake has been taken (uwPriceOfPlay holds it). Always 0.
int PlayGame();
