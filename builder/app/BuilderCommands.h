// The commands both the application and the main frame answer, and those
// the start page shares with the frame: help pages, the maker's web page,
// the tip of the day and the reset of the warning boxes' stored answers.
#pragma once

class CWnd;

// Tips file beside the program.
constexpr char kTipsFileName[] = "KorvaneBrennicorTipsFile.txt";
// The answers the warning boxes remember.
constexpr char kWarningAnswersKey[] = "WarningMessageBxs";

// A page of the help file beside the program, or of the online help when
// that file is missing.
void ShowHelpPage(const char* page);
void OpenHomePage();
// Writes the tips file with its two tips when it is missing, then shows the
// tips from it.
void ShowTipOfTheDay();
// Once the frame exists, at start-up: the tip when the user left it on.
void ShowTipOfTheDayAtStartUp();
// Deletes every stored warning answer and says so. Nothing happens, and
// nothing is shown, when the profile's "Settings" key does not exist or
// act is 0. Always 1.
int ResetWarningBoxes(int act, CWnd* parent);
