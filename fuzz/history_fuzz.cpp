// Fuzz target: history files with any bytes, opened, read, copied, put to, flushed and reopened.
//
// Asserts: an open keeps at most its capacity; a file that is not a history (or a refused
// capacity) is never written; a copy holds the same records; Put drops only the oldest; what
// the object held is exactly what the file holds afterwards, byte for byte, and what a reopen
// reads.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "zedll/util.h"

namespace {

using Records = std::vector<std::string>;

Records Held(CLS_History& history) {
    Records records;
    for (int i = 0; i < history.GetCount(); ++i) {
        CLS_History::CLS_History_obj* item = history.Get(i);
        FUZZ_CHECK(item != nullptr);
        FUZZ_CHECK(item->length == 0 || item->data != nullptr);
        records.emplace_back(reinterpret_cast<const char*>(item->data), item->length);
    }
    FUZZ_CHECK(history.Get(history.GetCount()) == nullptr);
    CLS_History::CLS_History_obj* newest = history.Get(-1);
    FUZZ_CHECK((newest == nullptr) == records.empty());
    return records;
}

void PutLe32(std::string* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>(v >> (8 * i)));
}

// The file a history of these records is: signature, count, then length and bytes of each.
std::string FileImage(const Records& records) {
    std::string image("ZEHistory66100501", 18);
    PutLe32(&image, static_cast<uint32_t>(records.size()));
    for (const std::string& r : records) {
        PutLe32(&image, static_cast<uint32_t>(r.size()));
        image += r;
    }
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    zedfuzz::Input in(data, size);
    const int capacity = static_cast<int>(in.U8() % 13) - 1;   // -1 (refused) to 11
    std::string record = in.Text(40);
    const std::string original = in.Rest();
    std::string path = zedfuzz::ScratchPath("history.bin");
    zedfuzz::WriteFile(path, original.data(), original.size());

    Records expected;
    bool valid = false;
    {
        CLS_History history(&path[0], capacity);
        valid = history.IsValid();
        FUZZ_CHECK(history.GetCapacity() == capacity);
        FUZZ_CHECK(history.GetCount() <= (capacity > 0 ? capacity : 0));
        if (!valid) FUZZ_CHECK(history.GetCount() == 0);
        if (capacity < 0) FUZZ_CHECK(!valid);
        expected = Held(history);
        {
            CLS_History copy(history);
            FUZZ_CHECK(copy.IsValid() == valid);
            FUZZ_CHECK(copy.GetCapacity() == capacity);
            FUZZ_CHECK(Held(copy) == expected);
        }
        CLS_History::CLS_History_obj item{static_cast<uint32_t>(record.size()),
                                          reinterpret_cast<unsigned char*>(&record[0])};
        const bool put = history.Put(&item);
        FUZZ_CHECK(put == (capacity >= 1));
        if (put) {
            expected.push_back(record);
            if (static_cast<int>(expected.size()) > capacity) expected.erase(expected.begin());
        }
        FUZZ_CHECK(Held(history) == expected);
        history.Flush();
        FUZZ_CHECK(zedfuzz::ReadFile(path) == (valid ? FileImage(expected) : original));
    }
    FUZZ_CHECK(zedfuzz::ReadFile(path) == (valid ? FileImage(expected) : original));

    if (valid) {
        CLS_History again(&path[0], capacity);
        FUZZ_CHECK(again.IsValid());
        FUZZ_CHECK(Held(again) == expected);
    }
    return 0;
}
