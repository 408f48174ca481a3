#include "grid/asgcheck.h"

String TVerAdevovEdavCheck::MarkError(int, int, const String& s) { return s; }
String TVerAdevovEdavCheck::Correct(int, int, const String& s) { return s; }
void TVerAdevovEdavCheck::StartCheck() {}
void TVerAdevovEdavCheck::StopCheck() {}
