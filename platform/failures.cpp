#include "platform/failures.h"

#include <iostream>

#include "platform/toolkit.h"

void ReportProblem(std::string_view what) {
  std::cerr << App::ProgramName() << ": " << what << std::endl;
}
