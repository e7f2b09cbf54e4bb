#include "model/FailureValues.h"

#include "probex/base/PxValueRecord.h"

std::vector<std::string> PxFailureValueLines(std::string_view recordText) {
  NPxValueRecord::SValues values;
  if (!NPxValueRecord::Read(recordText, values))
    return {};
  std::vector<std::string> lines;
  for (const NPxValueRecord::SSide* side : {&values.left, &values.right})
    lines.push_back(side->expression + ": " + side->value);
  if (values.differsAt >= 0)
    lines.push_back("first difference at offset " + std::to_string(values.differsAt));
  return lines;
}
