// C interface layer of the table store: the record call shared by the record exports and TOFT.
#pragma once

#include "lorbase.h"

namespace lor {

enum class RecOp { Save, Delete, Next, Seek, Prev, Top, Bottom, First, Last };

// Runs one record operation on the block buf under the library lock. bufCap bounds the
// answer written back (TOFT passes the size of its own buffer). Result 1 or 0.
[[nodiscard]] int RecordCall(RecOp op, LORHANDLE table, void* buf, uint32_t bufCap);
// Next, Prev or Seek for a cursor from its key, answering into set as RecordCall and unpacking
// would (a packed record of at most limit bytes), without packing either way. 1 or 0; set is
// untouched on 0.
[[nodiscard]] int ReadCall(RecOp op, LORHANDLE table, TSET& set, uint64_t limit);

} // namespace lor
