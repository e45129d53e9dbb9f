// Stand-in until the record reader lands: a record cannot be opened yet, and says so.
#include "records/QdxRecord.h"

namespace records {

int OpenQdxRecord(const std::string&, QdxRecordReader& reader) {
    reader = QdxRecordReader{};
    reader.status = QdxCannotOpen;
    reader.message = "Qdx-Error:2\r\n指定されたファイルが開けません。";
    return reader.status;
}

}  // namespace records
