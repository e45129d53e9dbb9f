// Record files of any shape: sections, links and the comment are read without crashing,
// and what is written reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/FileUtil.h"
#include "records/SectionFile.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzzsupport::ScratchFolder() + "site.qdx";
    if (!platform::WriteFilePlain(path, bytes)) return 0;
    records::SectionFile file;
    if (!file.Load(path)) return 0;
    Check(file.Text() == bytes);

    const int count = records::CountLinks(file);
    for (int i = 0; i <= count && i < 30; ++i) {
        records::RelatedLink link;
        (void)records::ReadLink(file, i, link);
    }
    (void)records::ReadComment(file);
    (void)file.GetSection("__[");
    (void)file.DeleteSection(records::kSectionEnd);

    if (records::WriteComment(file, "メモ\nnote") == 1) {
        Check(records::ReadComment(file) == "メモ\r\nnote");
        std::string written;
        Check(platform::ReadWholeFile(path, written) && written == file.Text());
    }
    const int before = records::CountLinks(file);
    if (before < 1000 && records::AddLink(file, "名前\r\nname", "http://example.com/x") == 1) {
        records::RelatedLink link;
        Check(records::ReadLink(file, before, link) == 1);
        Check(link.name == "名前\r\nname" && link.target == "http://example.com/x" && link.third.empty());
    }
    if (records::DeleteLinks(file, {0, 2}) == 1) {
        std::string onDisk;
        Check(platform::ReadWholeFile(path, onDisk) && onDisk == file.Text());
    }
    return 0;
}
