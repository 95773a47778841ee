// CLS_History: the file byte for byte, trimming to capacity, round trips, foreign and damaged
// files (including a randomised corruption run), copies, and the default object.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/support/scratch_dir.h"
#include "zedll.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char kSignature[] = "ZEHistory66100501";

// The file as the format describes it, built independently of the class.
Bytes FileImage(const std::vector<Bytes>& records, int32_t count) {
    Bytes out(kSignature, kSignature + 18);
    auto le32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    le32(static_cast<uint32_t>(count));
    for (const Bytes& r : records) {
        le32(static_cast<uint32_t>(r.size()));
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

Bytes Record(int n) {
    std::string s = "record " + std::to_string(n);
    return Bytes(s.begin(), s.end());
}

bool Put(CLS_History& h, Bytes b) {
    CLS_History::CLS_History_obj o{static_cast<uint32_t>(b.size()), b.data()};
    return h.Put(&o);
}

Bytes Got(CLS_History& h, int index) {
    CLS_History::CLS_History_obj* o = h.Get(index);
    if (o == nullptr) return Bytes{'<', 'n', 'u', 'l', 'l', '>'};
    return Bytes(o->data, o->data + o->length);
}

// The constructor takes a writable name, as hosts built against it expect (its exported name
// depends on it).
static_assert(std::is_constructible_v<CLS_History, char*, int>, "CLS_History(char*, int)");
static_assert(!std::is_constructible_v<CLS_History, const char*, int>, "CLS_History(char*, int)");

class History : public ::testing::Test {
protected:
    zedtest::ScratchDir dir_;
    std::string name_ = dir_.File("history.bin");
};

// A new file gets the 22-byte header; twelve into ten keep 3..12 in memory, in the file and after
// a reopen; random records of any length (and an empty one) come back exactly, with a zero after.
TEST_F(History, RecordsRoundTripThroughTheFileAndTrimToCapacity) {
    {
        CLS_History h(name_.data(), 10);
        EXPECT_TRUE(h.IsValid());
        EXPECT_EQ(h.Get(0), nullptr);
        EXPECT_EQ(h.Get(-1), nullptr);
        EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({}, 0));
        for (int i = 1; i <= 12; ++i) ASSERT_TRUE(Put(h, Record(i)));
        EXPECT_EQ(h.GetCount(), 10);
        EXPECT_EQ(Got(h, 0), Record(3));
        EXPECT_EQ(Got(h, -1), Record(12));
        EXPECT_EQ(Got(h, 9), Record(12));
        EXPECT_EQ(h.Get(10), nullptr);
        EXPECT_EQ(h.Get(-2), nullptr);
    }
    std::vector<Bytes> want;
    for (int i = 3; i <= 12; ++i) want.push_back(Record(i));
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage(want, 10));
    {
        CLS_History again(name_.data(), 10);
        ASSERT_EQ(again.GetCount(), 10);
        for (int i = 0; i < 10; ++i) EXPECT_EQ(Got(again, i), want[static_cast<size_t>(i)]);
    }
    // Ten thousand records, the first fifty random and one empty, flushed while open.
    std::filesystem::remove(name_);
    std::mt19937 rng(10);
    want.assign(1, Bytes{});
    {
        CLS_History h(name_.data(), 10000);
        CLS_History::CLS_History_obj empty{0, nullptr};
        ASSERT_TRUE(h.Put(&empty));
        for (int i = 1; i < 10000; ++i) {
            Bytes b = Record(i);
            if (i < 50) {
                b.resize(rng() % 300);
                for (auto& c : b) c = static_cast<unsigned char>(rng());
            }
            want.push_back(b);
            ASSERT_TRUE(Put(h, b));
        }
        h.Flush();
        EXPECT_EQ(zedtest::ReadBytes(name_), FileImage(want, 10000));
    }
    CLS_History h(name_.data(), 10000);
    ASSERT_EQ(h.GetCount(), 10000);
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(Got(h, i), want[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(h.Get(1)->data[h.Get(1)->length], 0);
}

// A smaller capacity, or a stored count above it, keeps the newest and shortens the file; a
// damaged file still drops (stored count - capacity) records, then loads what is whole.
TEST_F(History, StoredCountAboveCapacityDropsByTheStoredCount) {
    std::vector<Bytes> records;
    for (int i = 1; i <= 12; ++i) records.push_back(Record(i));
    for (int capacity = 1; capacity < 12; ++capacity) {
        zedtest::WriteBytes(name_, FileImage(records, 12));
        {
            CLS_History h(name_.data(), capacity);
            ASSERT_EQ(h.GetCount(), capacity);
            EXPECT_EQ(Got(h, 0), Record(13 - capacity)) << capacity;
            EXPECT_EQ(Got(h, -1), Record(12)) << capacity;
        }
        EXPECT_EQ(zedtest::ReadBytes(name_),
                  FileImage(std::vector<Bytes>(records.end() - capacity, records.end()), capacity));
    }
    Bytes image = FileImage(records, 12);
    image.resize(image.size() - 2);   // the twelfth record cut short: eleven whole ones
    zedtest::WriteBytes(name_, image);
    {
        CLS_History h(name_.data(), 10);
        EXPECT_TRUE(h.IsValid());
        ASSERT_EQ(h.GetCount(), 9);   // 12 - 10 = 2 dropped, then records 3 to 11
        for (int i = 0; i < 9; ++i) EXPECT_EQ(Got(h, i), Record(i + 3)) << i;
    }
    EXPECT_EQ(zedtest::ReadBytes(name_),
              FileImage(std::vector<Bytes>(records.begin() + 2, records.begin() + 11), 9));
}

TEST_F(History, ForeignFilesAndFilesInUseAreNeitherLoadedNorChanged) {
    Bytes foreign(100);
    for (size_t i = 0; i < foreign.size(); ++i) foreign[i] = static_cast<unsigned char>(i * 7);
    std::memcpy(foreign.data(), "ZEHistory66100502", 17);   // one digit off
    for (const Bytes& image : {foreign, Bytes{'Z', 'E'}}) {
        zedtest::WriteBytes(name_, image);
        for (int capacity : {10, 0}) {
            CLS_History h(name_.data(), capacity);
            EXPECT_FALSE(h.IsValid());
            EXPECT_EQ(h.GetCount(), 0);
            Put(h, Record(1));   // held in memory only
            h.Flush();
        }
        EXPECT_EQ(zedtest::ReadBytes(name_), image);
    }
    std::filesystem::remove(name_);
    CLS_History first(name_.data(), 5);
    Put(first, Record(1));
    first.Flush();
    const Bytes before = zedtest::ReadBytes(name_);
    {
        CLS_History second(name_.data(), 5);
        EXPECT_FALSE(second.IsValid());
        EXPECT_EQ(second.GetCount(), 0);
        Put(second, Record(2));
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), before);
    std::string nowhere = dir_.File("no-folder/history.bin");
    CLS_History h(nowhere.data(), 10);
    EXPECT_FALSE(h.IsValid());
    EXPECT_TRUE(Put(h, Record(1)));
    EXPECT_EQ(Got(h, 0), Record(1));
}

TEST_F(History, DamagedFilesLoadWhatIsWholeAndStop) {
    const std::vector<Bytes> records = {Record(1), Record(2), Record(3)};
    Bytes huge = FileImage(records, 3);   // a length field of 4 GB: no huge allocation
    const size_t second = 22 + 4 + records[0].size();
    huge[second] = huge[second + 1] = huge[second + 2] = huge[second + 3] = 0xFF;
    const Bytes good = FileImage(records, 3);
    struct Case { Bytes image; int capacity; std::vector<Bytes> loaded; bool rewritten = false; };
    const Case cases[] = {
        {Bytes(good.begin(), good.end() - 3), 10, {Record(1), Record(2)}, true},   // cut mid-record
        {FileImage(records, 1000), 10, {}, true},   // 1000 - 10 to drop: more than there is
        {FileImage(records, 5), 2, {}},       // 5 - 2 = 3 dropped: all three present
        {FileImage(records, 4), 2, {Record(3)}},
        {FileImage(records, 1), 10, records},   // a smaller count: loading goes on to the capacity
        {huge, 10, {Record(1)}},
        {Bytes(kSignature, kSignature + 18), 10, {}, true},   // signature alone, no count
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k) {
        zedtest::WriteBytes(name_, cases[k].image);
        {
            CLS_History h(name_.data(), cases[k].capacity);
            EXPECT_TRUE(h.IsValid()) << k;
            ASSERT_EQ(h.GetCount(), static_cast<int>(cases[k].loaded.size())) << k;
            for (int i = 0; i < h.GetCount(); ++i) EXPECT_EQ(Got(h, i), cases[k].loaded[i]) << k;
        }
        if (cases[k].rewritten) {
            EXPECT_EQ(zedtest::ReadBytes(name_),
                      FileImage(cases[k].loaded, static_cast<int32_t>(cases[k].loaded.size()))) << k;
        }
    }
}

TEST_F(History, RandomlyCorruptedFilesNeverCrashAndLoadOnlyWholeRecords) {
    std::mt19937 rng(99);
    std::vector<Bytes> records;
    for (int i = 0; i < 20; ++i) records.push_back(Record(i * 37));
    const Bytes good = FileImage(records, 20);
    for (int round = 0; round < 300; ++round) {
        Bytes bad = good;
        const int damage = static_cast<int>(rng() % 4);
        const uint32_t v = rng();
        if (damage == 0)   // cut short
            bad.resize(18 + rng() % (bad.size() - 18));
        else if (damage == 1)   // stray bytes
            for (int k = 0; k < 5; ++k) bad[18 + rng() % (bad.size() - 18)] = static_cast<unsigned char>(rng());
        else   // a random length field or count
            std::memcpy(bad.data() + (damage == 2 ? 22 + rng() % (bad.size() - 26) : 18), &v, 4);
        zedtest::WriteBytes(name_, bad);
        const int capacity = 1 + static_cast<int>(rng() % 30);
        CLS_History h(name_.data(), capacity);
        ASSERT_TRUE(h.IsValid()) << round;
        ASSERT_LE(h.GetCount(), capacity);
        size_t total = 0;
        for (int i = 0; i < h.GetCount(); ++i) total += h.Get(i)->length;
        ASSERT_LE(total, bad.size()) << round;
    }
}

TEST_F(History, CopiesAreDeepAndWriteTheFileOnce) {
    {
        CLS_History a(name_.data(), 5);
        Put(a, Record(1));
        {
            CLS_History b(a);
            EXPECT_TRUE(b.IsValid());
            EXPECT_EQ(Got(b, 0), Record(1));
            Put(b, Record(2));
            EXPECT_EQ(a.GetCount(), 1);
        }   // b leaves its two records in the file
        EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({Record(1), Record(2)}, 2));
        CLS_History c;   // the default: ten in memory, no file, null records refused
        EXPECT_FALSE(c.IsValid());
        EXPECT_EQ(c.GetCapacity(), 10);
        for (int i = 1; i <= 11; ++i) ASSERT_TRUE(Put(c, Record(i)));
        EXPECT_EQ(c.GetCount(), 10);
        EXPECT_EQ(Got(c, 0), Record(2));
        c.Flush();
        EXPECT_FALSE(c.Put(nullptr));
        CLS_History::CLS_History_obj bad{5, nullptr};
        EXPECT_FALSE(c.Put(&bad));
        c = a;
        EXPECT_EQ(c.GetCapacity(), 5);
        EXPECT_EQ(Got(c, -1), Record(1));
        c = c;
        Put(a, Record(3));
    }   // c, then a: a's records are what the file keeps
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({Record(1), Record(3)}, 2));
}

// Capacity zero opens (or creates) the file, keeps nothing and rewrites the count; a negative
// capacity is refused without even creating the file.
TEST_F(History, CapacityZeroKeepsNothingAndNegativeIsRefused) {
    for (const Bytes& image : {Bytes{}, FileImage({Record(1), Record(2)}, 2)}) {
        if (!image.empty()) zedtest::WriteBytes(name_, image);
        {
            CLS_History h(name_.data(), 0);
            EXPECT_TRUE(h.IsValid());
            EXPECT_EQ(h.GetCapacity(), 0);
            EXPECT_FALSE(Put(h, Record(1)));
            EXPECT_EQ(h.GetCount(), 0);
            EXPECT_EQ(h.Get(-1), nullptr);
        }
        EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({}, 0));
    }
    std::filesystem::remove(name_);
    {
        CLS_History h(name_.data(), -1);
        EXPECT_FALSE(h.IsValid());
        EXPECT_FALSE(Put(h, Record(1)));
        EXPECT_EQ(h.Get(-1), nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(name_));
    const Bytes image = FileImage({Record(1)}, 1);
    zedtest::WriteBytes(name_, image);
    { CLS_History h(name_.data(), -5); EXPECT_FALSE(h.IsValid()); }
    EXPECT_EQ(zedtest::ReadBytes(name_), image);
}

}  // namespace
