#pragma once
// The process-wide stop flag: set by a confirmed close or a signal, read by
// the table loop and the row loops. Atomic so a signal handler may set it.

bool stopRequested();
void requestStop();
// Only for tests: a program never clears it.
void clearStopForTests();
