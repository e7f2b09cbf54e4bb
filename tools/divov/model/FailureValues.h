// The values of a failed comparison as the reports show them, one line
// each: "left: 4", "right: 5", and where two long strings first differ.
// The values record's text is read here, once, for every report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines of a values record; none for a text that is not one.
std::vector<std::string> PxFailureValueLines(std::string_view recordText);
