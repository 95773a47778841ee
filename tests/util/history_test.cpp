// CLS_History: the file byte for byte, trimming to capacity, round trips, foreign and damaged
// files (including a randomised corruption run), copies, and the default object.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "temp_dir.h"
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
    zedtest::TempDir dir_;
    std::string name_ = dir_.File("history.bin");
};

TEST_F(History, NewFileGetsTheTwentyTwoByteHeader) {
    {
        CLS_History h(name_.data(), 10);
        EXPECT_TRUE(h.IsValid());
        EXPECT_EQ(h.GetCount(), 0);
        EXPECT_EQ(h.Get(0), nullptr);
        EXPECT_EQ(h.Get(-1), nullptr);
        EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({}, 0));
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({}, 0));
}

TEST_F(History, TwelveIntoTenKeepsThreeToTwelveAndTheFileSaysSo) {
    {
        CLS_History h(name_.data(), 10);
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
    CLS_History again(name_.data(), 10);
    ASSERT_EQ(again.GetCount(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Got(again, i), want[static_cast<size_t>(i)]);
}

TEST_F(History, RandomRecordsSurviveAReopenExactly) {
    std::mt19937 rng(10);
    std::vector<Bytes> want;
    {
        CLS_History h(name_.data(), 50);
        for (int i = 0; i < 50; ++i) {
            Bytes b(rng() % 300);
            for (auto& c : b) c = static_cast<unsigned char>(rng());
            want.push_back(b);
            ASSERT_TRUE(Put(h, b));
        }
    }
    CLS_History h(name_.data(), 50);
    ASSERT_EQ(h.GetCount(), 50);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(Got(h, i), want[static_cast<size_t>(i)]) << i;
    // Loaded records carry a zero after their bytes, so texts can be used as they are.
    EXPECT_EQ(h.Get(0)->data[h.Get(0)->length], 0);
}

TEST_F(History, SmallerCapacityKeepsTheNewestAndShortensTheFile) {
    {
        CLS_History h(name_.data(), 10);
        for (int i = 1; i <= 10; ++i) Put(h, Record(i));
    }
    const size_t long_size = zedtest::ReadBytes(name_).size();
    {
        CLS_History h(name_.data(), 5);
        ASSERT_EQ(h.GetCount(), 5);
        EXPECT_EQ(Got(h, 0), Record(6));
        EXPECT_EQ(Got(h, -1), Record(10));
        h.Flush();
        std::vector<Bytes> want;
        for (int i = 6; i <= 10; ++i) want.push_back(Record(i));
        const Bytes now = zedtest::ReadBytes(name_);
        EXPECT_EQ(now, FileImage(want, 5));
        EXPECT_LT(now.size(), long_size);
    }
}

TEST_F(History, EmptyRecordIsALengthAlone) {
    {
        CLS_History h(name_.data(), 3);
        CLS_History::CLS_History_obj empty{0, nullptr};
        ASSERT_TRUE(h.Put(&empty));
        ASSERT_TRUE(Put(h, Record(1)));
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({Bytes{}, Record(1)}, 2));
    CLS_History h(name_.data(), 3);
    ASSERT_EQ(h.GetCount(), 2);
    EXPECT_EQ(h.Get(0)->length, 0u);
}

TEST_F(History, ForeignFileIsNeitherLoadedNorChanged) {
    Bytes foreign(100);
    for (size_t i = 0; i < foreign.size(); ++i) foreign[i] = static_cast<unsigned char>(i * 7);
    std::memcpy(foreign.data(), "ZEHistory66100502", 17);   // one digit off
    zedtest::WriteBytes(name_, foreign);
    {
        CLS_History h(name_.data(), 10);
        EXPECT_FALSE(h.IsValid());
        EXPECT_EQ(h.GetCount(), 0);
        EXPECT_TRUE(Put(h, Record(1)));   // held in memory only
        h.Flush();
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), foreign);
    const Bytes tiny = {'Z', 'E'};
    zedtest::WriteBytes(name_, tiny);
    { CLS_History h(name_.data(), 10); EXPECT_FALSE(h.IsValid()); }
    EXPECT_EQ(zedtest::ReadBytes(name_), tiny);
}

TEST_F(History, ASecondHistoryOnAFileInUseIsNotValidAndChangesNothing) {
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
}

TEST_F(History, FileThatCannotBeOpenedLeavesAnInvalidEmptyHistory) {
    std::string nowhere = dir_.File("no-folder/history.bin");
    CLS_History h(nowhere.data(), 10);
    EXPECT_FALSE(h.IsValid());
    EXPECT_EQ(h.GetCount(), 0);
    EXPECT_TRUE(Put(h, Record(1)));
    EXPECT_EQ(Got(h, 0), Record(1));
}

TEST_F(History, DamagedFilesLoadWhatIsWholeAndStop) {
    const std::vector<Bytes> records = {Record(1), Record(2), Record(3)};
    const Bytes good = FileImage(records, 3);
    // Cut mid-record.
    Bytes cut(good.begin(), good.end() - 3);
    zedtest::WriteBytes(name_, cut);
    {
        CLS_History h(name_.data(), 10);
        EXPECT_TRUE(h.IsValid());
        EXPECT_EQ(h.GetCount(), 2);
        EXPECT_EQ(Got(h, 1), Record(2));
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({Record(1), Record(2)}, 2));
    // A count above the capacity drops (count - capacity) records by the stored count, however
    // few are present: 1000 - 10 is more than there is.
    zedtest::WriteBytes(name_, FileImage(records, 1000));
    {
        CLS_History h(name_.data(), 10);
        EXPECT_TRUE(h.IsValid());
        EXPECT_EQ(h.GetCount(), 0);
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({}, 0));
    zedtest::WriteBytes(name_, FileImage(records, 5));
    {
        CLS_History h(name_.data(), 2);
        EXPECT_EQ(h.GetCount(), 0);   // 5 - 2 = 3 dropped: all three present
    }
    zedtest::WriteBytes(name_, FileImage(records, 4));
    {
        CLS_History h(name_.data(), 2);
        ASSERT_EQ(h.GetCount(), 1);   // 4 - 2 = 2 dropped, the third is all that is left
        EXPECT_EQ(Got(h, 0), Record(3));
    }
    // A count smaller than the records: loading goes on up to the capacity.
    zedtest::WriteBytes(name_, FileImage(records, 1));
    {
        CLS_History h(name_.data(), 10);
        EXPECT_EQ(h.GetCount(), 3);
    }
    // A length field of 4 GB: no huge allocation, nothing past the damage.
    Bytes huge = FileImage(records, 3);
    const size_t second = 22 + 4 + records[0].size();
    huge[second] = huge[second + 1] = huge[second + 2] = huge[second + 3] = 0xFF;
    zedtest::WriteBytes(name_, huge);
    {
        CLS_History h(name_.data(), 10);
        EXPECT_EQ(h.GetCount(), 1);
        EXPECT_EQ(Got(h, 0), Record(1));
    }
    // Signature alone, no count.
    zedtest::WriteBytes(name_, Bytes(kSignature, kSignature + 18));
    {
        CLS_History h(name_.data(), 10);
        EXPECT_TRUE(h.IsValid());
        EXPECT_EQ(h.GetCount(), 0);
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({}, 0));
}

TEST_F(History, RandomlyCorruptedFilesNeverCrashAndLoadOnlyWholeRecords) {
    std::mt19937 rng(99);
    std::vector<Bytes> records;
    for (int i = 0; i < 20; ++i) records.push_back(Record(i * 37));
    const Bytes good = FileImage(records, 20);
    for (int round = 0; round < 300; ++round) {
        Bytes bad = good;
        const int damage = static_cast<int>(rng() % 4);
        if (damage == 0) {
            bad.resize(18 + rng() % (bad.size() - 18));
        } else if (damage == 1) {
            for (int k = 0; k < 5; ++k) bad[18 + rng() % (bad.size() - 18)] = static_cast<unsigned char>(rng());
        } else if (damage == 2) {
            const size_t at = 22 + rng() % (bad.size() - 26);
            const uint32_t v = rng();
            std::memcpy(bad.data() + at, &v, 4);
        } else {
            const int32_t count = static_cast<int32_t>(rng());
            std::memcpy(bad.data() + 18, &count, 4);
        }
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
        CLS_History c;
        c = a;
        EXPECT_EQ(c.GetCapacity(), 5);
        EXPECT_EQ(Got(c, -1), Record(1));
        c = c;
        Put(a, Record(3));
    }   // c, then a: a's records are what the file keeps
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({Record(1), Record(3)}, 2));
}

TEST(HistoryDefault, HoldsTenInMemoryAndWritesNothing) {
    CLS_History h;
    EXPECT_FALSE(h.IsValid());
    EXPECT_EQ(h.GetCapacity(), 10);
    for (int i = 1; i <= 11; ++i) ASSERT_TRUE(Put(h, Record(i)));
    EXPECT_EQ(h.GetCount(), 10);
    EXPECT_EQ(Got(h, 0), Record(2));
    h.Flush();
    EXPECT_FALSE(h.Put(nullptr));
    CLS_History::CLS_History_obj bad{5, nullptr};
    EXPECT_FALSE(h.Put(&bad));
}

// S > C with a damaged file: the stored count, not the records present, says how many go.
TEST_F(History, StoredCountAboveCapacityDropsByTheStoredCount) {
    std::vector<Bytes> records;
    for (int i = 1; i <= 12; ++i) records.push_back(Record(i));
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
    // Whole files: the newest C, for every capacity below the count.
    for (int capacity = 1; capacity < 12; ++capacity) {
        zedtest::WriteBytes(name_, FileImage(records, 12));
        CLS_History h(name_.data(), capacity);
        ASSERT_EQ(h.GetCount(), capacity);
        EXPECT_EQ(Got(h, 0), Record(13 - capacity)) << capacity;
        EXPECT_EQ(Got(h, -1), Record(12)) << capacity;
    }
}

TEST_F(History, CapacityZeroOpensTheFileKeepsNothingAndRewritesTheCount) {
    {
        CLS_History h(name_.data(), 0);   // a missing file is created with its header
        EXPECT_TRUE(h.IsValid());
        EXPECT_EQ(h.GetCapacity(), 0);
        EXPECT_FALSE(Put(h, Record(1)));
        EXPECT_EQ(h.GetCount(), 0);
        EXPECT_EQ(h.Get(-1), nullptr);
        EXPECT_EQ(h.Get(0), nullptr);
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({}, 0));
    zedtest::WriteBytes(name_, FileImage({Record(1), Record(2)}, 2));
    {
        CLS_History h(name_.data(), 0);
        EXPECT_TRUE(h.IsValid());
        EXPECT_EQ(h.GetCount(), 0);
    }
    EXPECT_EQ(zedtest::ReadBytes(name_), FileImage({}, 0));   // count 0, the records cut off
    // Another signature: not valid, left untouched.
    Bytes foreign(40, 'x');
    zedtest::WriteBytes(name_, foreign);
    { CLS_History h(name_.data(), 0); EXPECT_FALSE(h.IsValid()); }
    EXPECT_EQ(zedtest::ReadBytes(name_), foreign);
}

TEST_F(History, NegativeCapacityIsRefusedWithoutOpeningTheFile) {
    {
        CLS_History h(name_.data(), -1);
        EXPECT_FALSE(h.IsValid());
        EXPECT_FALSE(Put(h, Record(1)));
        EXPECT_EQ(h.Get(-1), nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(name_));   // not even created
    const Bytes image = FileImage({Record(1)}, 1);
    zedtest::WriteBytes(name_, image);
    { CLS_History h(name_.data(), -5); EXPECT_FALSE(h.IsValid()); }
    EXPECT_EQ(zedtest::ReadBytes(name_), image);
}

TEST_F(History, FlushOfTenThousandRecordsRoundTrips) {
    std::vector<Bytes> want;
    {
        CLS_History h(name_.data(), 10000);
        for (int i = 0; i < 10000; ++i) {
            want.push_back(Record(i));
            Put(h, want.back());
        }
        h.Flush();
        EXPECT_EQ(zedtest::ReadBytes(name_), FileImage(want, 10000));
    }
    CLS_History h(name_.data(), 10000);
    EXPECT_EQ(h.GetCount(), 10000);
    EXPECT_EQ(Got(h, 9999), Record(9999));
}

}  // namespace
