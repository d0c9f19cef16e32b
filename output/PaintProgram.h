// Where Paint is: started by its full path, never by a bare name that a
// search through the current folder could resolve to a planted program.
#pragma once

#include <string>

// The path registered under App Paths ("mspaint.exe", then "mspaint") of the
// machine, else mspaint.exe in the system folder when it is there; empty when
// neither names an existing file.
std::wstring PaintProgramPath();
