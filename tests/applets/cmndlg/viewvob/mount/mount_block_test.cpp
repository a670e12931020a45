// The driver's request blocks as built, byte by byte, and the option parser's
// flags and numbers.
#include <gtest/gtest.h>

#include "adm.h"
#include "gcl_status.h"
#include "mount_fixture.h"
#include "viewvob/mount/mntopts.h"
#include "rvmount/mntrpc.h"
#include "rvl_mntopts.h"

namespace mount_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class MountBlock : public MountFixture {
 protected:
  // The one mount request sent since the log was cleared.
  view_mfs_request_t OnlyRequest() {
    auto requests = Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? view_mfs_request_t{} : requests.front();
  }

  static void ExpectHeader(const view_mfs_request_t& request, std::uint32_t op, std::uint32_t size) {
    EXPECT_EQ(request.header.op, op);
    for (std::uint32_t word : request.header.reserved) EXPECT_EQ(word, 0u);
    EXPECT_EQ(request.header.data_size, size);
    EXPECT_EQ(Data(request).size(), size);
  }
};

TEST_F(MountBlock, APrivateVobMountIsTheExactImage) {
  AddVob({"\\priv", "private", "", "priv.vbs", 1});
  ASSERT_EQ(mntrpc_mount_tag("\\priv", "", ""), 0) << capture->Text();
  const auto request = OnlyRequest();
  ExpectHeader(request, 36, 248);
  const Bytes& b = Data(request);
  EXPECT_EQ(Word(b, 0), 0x00F8000Cu);
  EXPECT_EQ(Word(b, 4), 0x1u | 0x8u);
  EXPECT_EQ(TextAt(request, b, 8), "\\priv");
  EXPECT_EQ(TextAt(request, b, 20), "hosta");
  EXPECT_EQ(Word(b, 32), 0u);
  EXPECT_EQ(TextAt(request, b, 36), "\\\\hosta\\c$\\stg\\priv.vbs");
  // The object form equals the absolute form: the same pointer and length.
  EXPECT_EQ(BytesAt(b, 48, 12), BytesAt(b, 36, 12));
  EXPECT_EQ(TextAt(request, b, 60), "C:\\stg\\priv.vbs");
  // All 16 bytes of the replica identifier.
  EXPECT_EQ(BytesAt(b, 72, 16), UuidBytes(Uuid(101)));
  for (std::size_t offset : {88u, 92u, 96u, 100u, 104u, 108u}) EXPECT_EQ(Word(b, offset), 0u) << offset;
  EXPECT_EQ(TextAt(request, b, 112), "<null>");
  EXPECT_EQ(BytesAt(b, 124, 16), UuidBytes(Uuid(1)));
  EXPECT_EQ(Word(b, 140), 0u);
  EXPECT_EQ(Word(b, 144), 0u);
  EXPECT_EQ(Word(b, 148), 0u);
  EXPECT_EQ(BytesAt(b, 152, 96), Bytes(96, 0));
}

TEST_F(MountBlock, APublicVobMountCarriesItsOptionsAndPools) {
  fs::create_directories(HostDir("pools/sdft"));
  AddVob({"\\pub", "public",
          "soft,intr,noac,nodnlc,ro,timeo=12,retrans=3,actimeo=5,acregmax=9,exportid=7,"
          "poolmap=sdft:\\\\hosta\\c$\\stg\\pools\\sdft\\",
          "pub.vbs", 2});
  ASSERT_EQ(mntrpc_mount_tag("\\pub", "", ""), 0) << capture->Text();
  const auto request = OnlyRequest();
  ExpectHeader(request, 36, 248);
  const Bytes& b = Data(request);
  EXPECT_EQ(Word(b, 4), 0x1u | 0x4u | 0x10u | 0x20u | 0x40u);
  EXPECT_EQ(TextAt(request, b, 8), "\\pub");
  EXPECT_EQ(Word(b, 88), 12u);
  EXPECT_EQ(Word(b, 92), 3u);
  // actimeo set all four; acregmax alone overrode its own.
  EXPECT_EQ(Word(b, 96), 9u);
  EXPECT_EQ(Word(b, 100), 5u);
  EXPECT_EQ(Word(b, 104), 5u);
  EXPECT_EQ(Word(b, 108), 5u);
  EXPECT_EQ(BytesAt(b, 124, 16), UuidBytes(Uuid(2)));
  EXPECT_EQ(BytesAt(b, 72, 16), UuidBytes(Uuid(102)));
  ASSERT_EQ(Word(b, 140), 1u);
  EXPECT_EQ(Word(b, 148), 7u);
  const std::uint32_t pools = Word(b, 144);
  ASSERT_GE(pools, 1u);
  ASSERT_LE(pools, request.table.size());
  const Bytes& pool = request.table[pools - 1];
  ASSERT_EQ(pool.size(), 36u);
  EXPECT_EQ(TextAt(request, pool, 0), "sdft:\\\\hosta\\c$\\stg\\pools\\sdft\\");
  EXPECT_EQ(TextAt(request, pool, 12), "C:\\stg\\pools\\sdft");
  EXPECT_EQ(BytesAt(pool, 24, 12), BytesAt(pool, 12, 12));
  EXPECT_TRUE(capture->Text().find("Mounting RVFS filesystem \\pub.") != std::string::npos);
}

TEST_F(MountBlock, AViewRootMountTakesThisHostItsPortAndTheTunables) {
  ASSERT_EQ(adm_rvfs_set_tunable(3, 77), 0);
  AddVob({"\\vroot", "public", "viewroot,soft,xnsuffix=@@@", "vroot.vbs", 3});
  ASSERT_EQ(mntrpc_mount_tag("\\vroot", "", ""), 0) << capture->Text();
  const auto request = OnlyRequest();
  ExpectHeader(request, 36, 248);
  const Bytes& b = Data(request);
  EXPECT_EQ(Word(b, 0), 0x00F8000Cu);
  // soft and the interrupt flag stay in the block; the warning calls them ignored.
  EXPECT_EQ(Word(b, 4), 0x2u | 0x4u | 0x8u);
  EXPECT_EQ(TextAt(request, b, 8), "\\vroot");
  EXPECT_EQ(TextAt(request, b, 20), "hosta");
  EXPECT_EQ(Word(b, 32), 7510u);
  for (std::size_t offset : {36u, 48u, 60u}) EXPECT_EQ(TextAt(request, b, offset), "<null>") << offset;
  EXPECT_EQ(TextAt(request, b, 112), "@@@");
  EXPECT_EQ(BytesAt(b, 124, 16), Bytes(16, 0));
  EXPECT_EQ(Word(b, 152 + 3 * 4), 77u);
  adm_rvfs_tunables_t tunables;
  ASSERT_EQ(adm_rvfs_get_tunables(&tunables), 0);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(Word(b, 152 + 4 * static_cast<std::size_t>(i)), tunables.words[i]) << i;
  const Message warning{IMSG_WARNING, "obsolete use of viewroot mount retry/timeout options - options ignored\n"};
  const auto messages = capture->Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), warning), messages.end()) << capture->Text();
}

TEST_F(MountBlock, AnUnmountIsTheExactImage) {
  AddVob({"\\pub", "public", "", "pub.vbs", 4});
  ASSERT_EQ(mntrpc_mount_tag("\\pub", "", ""), 0);
  client_local::ClearMfsRequests();
  ASSERT_EQ(mntrpc_umount_tag("\\pub", ""), 0) << capture->Text();
  const auto request = OnlyRequest();
  ExpectHeader(request, 37, 28);
  const Bytes& b = Data(request);
  EXPECT_EQ(TextAt(request, b, 0), "\\pub");
  EXPECT_EQ(BytesAt(b, 12, 16), UuidBytes(Uuid(4)));
  EXPECT_TRUE(Mounted().empty());
  EXPECT_TRUE(PrefixMap().empty());
}

// The option parser over a registered VOB, one option text per case.
struct OptionCase {
  const char* options;
  std::uint32_t flags;
  std::uint32_t timeo, retrans;
  std::uint32_t acregmax, acregmin, acdirmax, acdirmin;
  const char* message;  // an error the parser prints, or null
};

TEST_F(MountBlock, OptionsSetTheirFlagsAndNumbers) {
  AddVob({"\\pub", "public", "", "pub.vbs", 5});
  const std::string uuid = "uuid=" + UuidText(Uuid(5));
  const OptionCase cases[] = {
      {"", 0x9, 0, 0, 0, 0, 0, 0, nullptr},
      {"soft", 0xD, 0, 0, 0, 0, 0, 0, nullptr},
      {"intr", 0x1, 0, 0, 0, 0, 0, 0, nullptr},
      {"noac", 0x19, 0, 0, 0, 0, 0, 0, nullptr},
      {"nodnlc", 0x29, 0, 0, 0, 0, 0, 0, nullptr},
      {"ro", 0x49, 0, 0, 0, 0, 0, 0, nullptr},
      {"softer,rox,nointr", 0x9, 0, 0, 0, 0, 0, 0, nullptr},
      {"timeo=12,retrans=4", 0x9, 12, 4, 0, 0, 0, 0, nullptr},
      {"timeo=12x", 0x9, 0, 0, 0, 0, 0, 0, "bad numeric option 'timeo=12x'\n"},
      {"timeo", 0x9, 0, 0, 0, 0, 0, 0, "bad numeric option 'timeo'\n"},
      {"retrans=", 0x9, 0, 0, 0, 0, 0, 0, "bad numeric option 'retrans='\n"},
      {"timeo=99999999999", 0x9, 0, 0, 0, 0, 0, 0, "bad numeric option 'timeo=99999999999'\n"},
      {"actimeo=5", 0x9, 0, 0, 5, 5, 5, 5, nullptr},
      {"actimeo=5,acdirmin=2", 0x9, 0, 0, 5, 5, 5, 2, nullptr},
      {"acregmin=1,acdirmax=8", 0x9, 0, 0, 0, 1, 8, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    capture->Clear();
    view_mfs_request_t request;
    const std::string options = uuid + (*c.options ? "," : "") + c.options;
    ASSERT_EQ(rvmount::CrackMountArgs({GlobalPath("pub.vbs"), "\\pub", "-t rvfs", options}, &request), 0)
        << capture->Text();
    const Bytes& b = Data(request);
    EXPECT_EQ(Word(b, 4), c.flags);
    EXPECT_EQ(Word(b, 88), c.timeo);
    EXPECT_EQ(Word(b, 92), c.retrans);
    EXPECT_EQ(Word(b, 96), c.acregmax);
    EXPECT_EQ(Word(b, 100), c.acregmin);
    EXPECT_EQ(Word(b, 104), c.acdirmax);
    EXPECT_EQ(Word(b, 108), c.acdirmin);
    if (c.message)
      EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_ERROR, c.message}}));
    else
      EXPECT_TRUE(capture->Messages().empty()) << capture->Text();
  }
}

// One option text means the same to the object model's option record and to
// the mount engine: what the record accepts, the engine reads as the record
// writes it back; a word the record refuses, the engine passes over.
TEST_F(MountBlock, AnOptionTextMeansTheSameToTheRecordAndTheEngine) {
  AddVob({"\\pub", "public", "", "pub.vbs", 7});
  const std::string uuid = "uuid=" + UuidText(Uuid(7));
  auto engine = [&](const std::string& text) {
    view_mfs_request_t request;
    EXPECT_EQ(rvmount::CrackMountArgs({GlobalPath("pub.vbs"), "\\pub", "-t rvfs", uuid + "," + text}, &request), 0);
    return Data(request);
  };
  struct Case {
    const char* text;
    const char* meaning;  // for a text the record refuses: what the engine reads instead
  };
  const Case cases[] = {
      {"ro", nullptr},
      {" ro , soft ,intr", nullptr},
      {"noac,nodnlc,timeo=12,retrans=3", nullptr},
      {"actimeo=5,acdirmin=2", nullptr},
      {"rw,hard,nointr,dnlc,suid", nullptr},
      {"ro=1,soft", "soft"},
      {"rox,nodnlc", "nodnlc"},
      {"soft=yes", ""},
      {"timeo=abc,noac", "noac"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    GCL_Status status;
    RVL_VobMountOptions record;
    const bool accepted = record.parse(status, GCL_String(c.text));
    EXPECT_EQ(accepted, c.meaning == nullptr);
    const std::string meaning = accepted ? record.format().c_str() : c.meaning;
    EXPECT_EQ(engine(c.text), engine(meaning)) << "read as \"" << meaning << "\"";
  }
}

TEST_F(MountBlock, AReverseViewRootMountHasNoHost) {
  view_mfs_request_t request;
  ASSERT_EQ(rvmount::CrackMountArgs({"", "\\r", "-t rvfs", "rviewroot"}, &request), 0) << capture->Text();
  const Bytes& b = Data(request);
  EXPECT_EQ(Word(b, 4), 0x80u | 0x8u);
  EXPECT_EQ(TextAt(request, b, 20), "<null>");
  EXPECT_EQ(TextAt(request, b, 112), "@@");
  EXPECT_TRUE(capture->Messages().empty()) << capture->Text();
}

TEST_F(MountBlock, TheParserReportsWhatItCannotFind) {
  AddVob({"\\pub", "public", "", "pub.vbs", 6});
  struct Case {
    std::string storage, options;
    Message message;
  };
  const Case cases[] = {
      {GlobalPath("pub.vbs"), "uuid=nonsense", {IMSG_ERROR, "uuid option value is not valid\n"}},
      {GlobalPath("nowhere"), "soft", {IMSG_ERROR, "VOB " + GlobalPath("nowhere") + " is not responding\n"}},
      {GlobalPath("pub.vbs"), "uuid=" + UuidText(Uuid(60)),
       {IMSG_ERROR, "rgy_getinfo_by_uuid(" + UuidText(Uuid(60)) + "): Not found\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    capture->Clear();
    view_mfs_request_t request;
    EXPECT_NE(rvmount::CrackMountArgs({c.storage, "\\pub", "-t rvfs", c.options}, &request), 0);
    EXPECT_EQ(capture->Messages(), std::vector<Message>{c.message});
  }
  // Without a uuid option the storage itself names the VOB.
  view_mfs_request_t request;
  ASSERT_EQ(rvmount::CrackMountArgs({GlobalPath("pub.vbs") + ";extra", "\\pub", "-t rvfs", "ro"}, &request), 0)
      << capture->Text();
  EXPECT_EQ(BytesAt(Data(request), 124, 16), UuidBytes(Uuid(6)));
  EXPECT_EQ(TextAt(request, Data(request), 36), GlobalPath("pub.vbs"));
}

}  // namespace
}  // namespace mount_test
