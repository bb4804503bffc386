// The program's start: refuses a second copy, offers the update page when due, shows
// the details window and picks its banner.
#pragma once

void StartProgram();
