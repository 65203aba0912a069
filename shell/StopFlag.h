#pragma once
// The process-wide stop flag: set by a confirmed close or a signal, read by
// the table loop and the row loops. Atomic so a signal handler may set it.

bool stopRequested();
void requestStop();
// Stops the run because a step failed beyond repair (a destination that
// cannot be reached again): the loops end as on a request, and the report
// says the run failed rather than that it was stopped.
void requestStopForFailure();
bool stoppedForFailure();
// Only for tests: a program never clears it.
void clearStopForTests();
