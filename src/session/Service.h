#pragma once

#include <QString>

// The service the client talks to: its two servers and this program's build number.
namespace Service {
// The revision of the program's version: 40 for 1.00.0040.
constexpr int BuildNumber = LUMENPANE_BUILD_NUMBER;

// Scheme and host of each server, without a trailing "/". Built in; for one run the environment variables
// LUMENPANE_API_BASE and LUMENPANE_REPORT_BASE override them.
QString apiBase();
QString reportBase();
} // namespace Service
