#include "records/qt/RelatedFileFetch.h"

namespace recordsqt {

namespace {

RelatedFileStart& Starter() {
    static RelatedFileStart start;
    return start;
}

}  // namespace

void SetRelatedFileStart(RelatedFileStart start) { Starter() = std::move(start); }

const RelatedFileStart& RelatedFileStarter() { return Starter(); }

}  // namespace recordsqt
