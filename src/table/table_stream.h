// A table text written out as loading it and saving it would write it, without building the
// table: every line split, padded to the widest line's field count and joined again. Memory
// stays a few blocks whatever the size of the source.
#pragma once

#include "table/io_status.h"
#include "table/row_writer.h"
#include "table/source_text.h"

namespace kol {

// Two passes over the source: the widest line first, then the lines in blocks formatted on two
// threads and handed to `sink` in order. Mapped pages are handed back as each pass goes.
[[nodiscard]] IoStatus streamTableLines(const SourceText& source, unsigned char separator,
                                        unsigned char outSeparator, const RowSink& sink);

} // namespace kol
