/* The library's own texts by identifier, in the base language 1033 (English). Read by the C++
   code and by the resource compiler, so it holds preprocessor lines only. */
#ifndef ZEDLL_BASE_STRINGS_H
#define ZEDLL_BASE_STRINGS_H

/* X(identifier, name, text) */
#define ZEDLL_BASE_STRINGS(X) \
  X(1, Distance, "Distance") \
  X(2, Move, "&Move") \
  X(3, Zoom, "Zoom") \
  X(4, ZoomInput, "Zoom &Input") \
  X(5, Measure, "Measure") \
  X(6, Size, "&Size") \
  X(7, Hide, "&Hide") \
  X(8, ResetZoom, "&Reset zoom") \
  X(9, LogPageTitle, "Logging") \
  X(10, LogFileFilter, "Logging Files (*.log)|*.log|All files (*.*)|*.*||") \
  X(11, LogCannotOpen, "Do not open privacy log file %s\n") \
  X(12, LogBadFacility, "Unrecognized internal syslog facility code %d\n") \
  X(13, LanguageCaption, "Language") \
  X(14, SeverityDebug, "Severity debug") \
  X(15, SeverityInfo, "Severity info") \
  X(16, SeverityNotice, "Severity notice") \
  X(17, SeverityWarning, "Severity warning") \
  X(18, SeverityError, "Severity error") \
  X(19, SeverityCritical, "Severity critical") \
  X(20, BadSeverity, "syslog_severity: bad severity %d") \
  X(21, NoSuchCleanup, "fatal_remove_cleanup: no such cleanup function: 0x%lx 0x%lx\n") \
  X(22, ButtonAbort, "&Abort") \
  X(23, ButtonRetry, "&Retry") \
  X(24, ButtonIgnore, "&Ignore") \
  X(25, ButtonCancel, "&Cancel") \
  X(26, ButtonYes, "&Yes") \
  X(27, ButtonNo, "&No") \
  X(28, ButtonOk, "&Ok")

#endif
