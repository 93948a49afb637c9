#pragma once
// The history in a few lines of text, for the command line.

#include <string>

#include "scores/records_overview.h"

std::string RecordsSummary(const RecordsOverview& overview);
