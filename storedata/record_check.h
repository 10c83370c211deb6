#pragma once
// The data check and repair of monitor.txt (command 1102).

// Rewrites monitor.txt with its valid records in five-minute rhythm,
// renumbered per recording; keeps the old file as monitor.bak, lists the
// recordings in datalist.txt, reloads the history and reports the counts in an
// English message box owned by the main window. Answers the errors found;
// 0 when the check could not run.
unsigned checkRecordFile();
