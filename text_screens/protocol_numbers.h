#pragma once

#include <string_view>

namespace dotwall::text_screens {

// Numbers in protocol lines, read as LCDd reads them, so that clients written against it get
// the same answers: the leading number of a text (blanks before it and a sign allowed, any
// tail ignored, no digits 0), held within int's range where LCDd's would wrap.
int leadingNumber(std::string_view text);

// LCDd takes a coordinate, a size or a digit only when its text begins with a decimal digit
// (so no sign and no blank), and then its leading number.
bool beginsWithDigit(std::string_view text);

// A position or size on a screen: the leading number, held within a million cells either way
// (all of them off any panel beyond that), so that sums of them stay in range.
int cellNumber(std::string_view text);

}  // namespace dotwall::text_screens
