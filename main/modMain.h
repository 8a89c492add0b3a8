#pragma once

// The program's start: reads the command line, creates the window frmVarnoth and shows it,
// and runs until the window is closed or the player declines another game.
int Main(int argc, char** argv);
