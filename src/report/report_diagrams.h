#pragma once

// The dots of each workshop's portfolio diagram, for the report's pictures of them.

#include <cstdint>
#include <vector>

#include "report/report_writer.h"

struct TCaseData;

// The rows of the diagram's list as its workshop page first shows it, every filter letting all
// values through: the vertical value in the low 16 bits, the horizontal one in the high 16 bits,
// 0 for a heading row.
std::vector<uint32_t> diagramPlotValues(const TCaseData& data, ReportDiagram which);
