// The desktop program's entry sequence: module start-up, exception handler, disclaimer,
// main window, message loop.
#pragma once

int BandwerkStarten(int argc, char** argv);
