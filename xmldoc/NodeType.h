#pragma once
// Kinds of node in an XML tree; the numbers are the ones the library has always used.

namespace ferrox::xml {

enum class NodeType {
  Element = 0,
  ProcessingInstruction = 1,
  Comment = 2,
  Cdata = 3,
  Document = 4,
};

}  // namespace ferrox::xml
