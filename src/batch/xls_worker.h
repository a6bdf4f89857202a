// Reading .xls workbooks in a process of their own. The library behind it
// (FreeXL) trusts the file's record lengths in places, so a damaged or
// hostile workbook can make it read past its buffers; in a separate
// process that ends the reading, never the program and what the clerk
// has typed. The program starts itself (or any program whose main()
// calls runXlsWorkerIfAsked first) with kXlsWorkerArgument.
#pragma once

class QString;

namespace billprint {

// argv[1] of a process started to read an .xls file:
//   PROGRAM --read-xls-in-worker FILE [SHEET]
// It writes an XlsReply (the sheet names, and the rows of SHEET when
// given) to its standard output.
inline constexpr char kXlsWorkerArgument[] = "--read-xls-in-worker";

// Runs the reading when this process was started for it and returns its
// exit code; -1 otherwise. Call it first in main(), before Qt starts.
int runXlsWorkerIfAsked(int argc, char **argv);

// The program started to read .xls files: this one unless set (tests put
// a program that crashes, hangs or talks nonsense in its place); an empty
// text restores it.
void setXlsWorkerProgram(const QString &program);

} // namespace billprint
