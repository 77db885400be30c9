#pragma once
// The error record of a parse: only the first error met is kept, a later one only makes
// loading fail.

#include <cstddef>
#include <string>

namespace ferrox::xml {

// Error codes; the texts are those of the record.
enum ParseErrorCode {
  kNoError = 0,
  // "Element must be closed.": a "/" in a start tag not followed by ">", or the text
  // ends inside a start tag.
  kElementNotClosed = 1,
  // "<name> must be closed with </name>" when no "<" follows a start tag, "it must be
  // closed with </name>" when the text ends inside the element.
  kClosingTagMissing = 2,
  // "'<name> ... </other>' is not wel-formed.": the wrong closing tag.
  kWrongClosingTag = 3,
  // "<name> attribute has error ": the text ends inside an attribute.
  kAttributeError = 4,
  // "Elements are nested more than 256 deep.": see kMaxElementDepth.
  kTooDeep = 5,
  // "'<!--' is not closed with '-->'." and the like for "<?" and "<![CDATA[".
  kMarkupNotClosed = 6,
  // "Not enough memory to read the text."
  kOutOfMemory = 7,
};

struct ParseError {
  bool occurred = false;
  std::size_t position = 0;  // index into the text where the fault was seen
  int code = kNoError;
  std::wstring text;
};

}  // namespace ferrox::xml
