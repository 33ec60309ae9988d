// Tool codes of a page's m_nTool; code 2 is not used.
#pragma once

constexpr int TOOL_PEN = 0;
constexpr int TOOL_HAND = 1;
constexpr int TOOL_BIGERASER = 3;
constexpr int TOOL_NONE = 4;
