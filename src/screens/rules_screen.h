// The rules screen, shown from the attract screen's Rules button.
#pragma once

// Shows the rules until the player touches the screen or 20 s pass, then presses the Back button
// and puts the attract screen back in the back buffer (the attract loop presents it).
void ShowRules();
