// The registry object: loading its caches, finding, updating, creating and
// removing entries, access checks, observers, filters and describe.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gcl_status.h"
#include "local/calllog.h"
#include "local/store.h"
#include "nlbd_hostinfo.h"
#include "nlbd_port.h"
#include "platform/machine.h"
#include "rgy.h"
#include "rvl_registry.h"
#include "rvl_rgy_update.h"
#include "support/repository.h"
#include "tbs.h"
#include "tbs_uuid.h"

namespace {

using client_local::CallLog;
using rv_test::Failing;
using F = RVL_RgyField;

std::string Text(const GCL_String& text) { return text.c_str(); }

std::string UuidText(int n) {
  tbs_uuid_t uuid{};
  uuid.bytes[0] = static_cast<std::uint8_t>(n + 1);
  uuid.bytes[15] = 0x5a;
  char text[TBS_UUID_STR_SIZE];
  tbs_uuid_to_str(&uuid, text, sizeof text);
  return text;
}

RVL_Uuid Uuid(int n) {
  GCL_Status status;
  return RVL_Uuid::parse(status, GCL_String(UuidText(n).c_str()));
}

// A store with the default region "test" on the server "alpha", the user
// "ann", and tags and objects added through the client's own calls.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    CallLog::ClearFailures();
    previous_ = client_local::UseStore(client_local::Store::OpenMemory());
    User("ann");
    ASSERT_EQ(rgy_add_region("test", "test region"), 0);
    ASSERT_EQ(rgy_set_default_region("test"), 0);
    ASSERT_EQ(rgy_set_server_host("alpha"), 0);
  }
  void TearDown() override {
    RVL_VobRegistry::forget_all();
    CallLog::StopRecording();
    CallLog::ClearFailures();
    client_local::UseStore(std::move(previous_));
    plat::SetMachineProfile(std::nullopt);
  }

  static void User(const std::string& name) {
    plat::MachineProfile machine = plat::RealMachineInfo();
    machine.user_name = name;
    plat::SetMachineProfile(machine);
  }

  static void Add(int kind, const char* region, const std::vector<std::pair<int, std::string>>& fields) {
    rgy_entry_t entry = nullptr;
    ASSERT_EQ(rgy_create_entry(kind, &entry), 0);
    for (const auto& [key, value] : fields) ASSERT_EQ(rgy_setstring_in_entry(entry, key, value.c_str()), 0);
    ASSERT_EQ(rgy_add_entry(region, entry), 0);
    rgy_delete_entry(entry);
  }
  static void AddTag(const std::string& name, int n = 0) {
    Add(RGY_KIND_VOB_TAG, "test",
        {{RGY_KEY_TAG, name}, {RGY_KEY_GPATH, "\\\\alpha\\c$\\store" + name}, {RGY_KEY_HOST, "alpha"},
         {RGY_KEY_ACCESS, "public"}, {RGY_KEY_MOUNT_OPTS, "timeo=10,"}, {RGY_KEY_UUID, UuidText(n)},
         {RGY_KEY_COMMENT, "tag " + name}});
  }
  static void AddObject(int n) {
    Add(RGY_KIND_VOB_OBJECT, nullptr,
        {{RGY_KEY_UUID, UuidText(n)}, {RGY_KEY_HOST, "alpha"}, {RGY_KEY_LOCAL_PATH, "C:\\store\\" + std::to_string(n)}});
  }
  // The tag's field as stored, read past every cache.
  static std::string Stored(const std::string& tag, int key) {
    rgy_cursor_t cursor = nullptr;
    EXPECT_EQ(rgy_open_cursor(RGY_KIND_VOB_TAG, "test", &cursor), 0);
    rgy_entry_t entry = nullptr;
    int count = 0;
    EXPECT_EQ(rgy_findbystring_entry(cursor, RGY_KEY_TAG, tag.c_str(), 1, &entry, &count), 0);
    rgy_close_cursor(cursor);
    if (count != 1) return "(none)";
    char text[1100];
    const int rc = rgy_getstring_from_entry(entry, key, sizeof text, text);
    rgy_delete_entry(entry);
    return rc == 0 ? text : "(none)";
  }

  static RVL_VobRegistry Default() {
    GCL_Status status;
    RVL_VobRegistry registry = RVL_VobRegistry::default_registry(status);
    EXPECT_TRUE(status.ok()) << status.messages().c_str();
    return registry;
  }

 private:
  std::unique_ptr<client_local::Store> previous_;
};

// Records what it is told, and may remove another observer while told.
struct TagWatcher : RVL_VobRgyTagObserver {
  void tag_event(RVL_RgyEvent event, const RVL_VobRegistryTag& tag) override {
    GCL_Status status;
    events.push_back({event, Text(tag.tag_name(status)), Text(tag.comment(status))});
    if (removes) registry->remove_observer(removes);
  }
  struct Event {
    RVL_RgyEvent event;
    std::string name, comment;
  };
  std::vector<Event> events;
  RVL_VobRgyTagObserver* removes = nullptr;
  RVL_VobRegistry* registry = nullptr;
};

TEST_F(Registry, TagsLoadInBatchesOfThirtyTwoOnceThenAnswerFromTheCache) {
  for (int i = 0; i < 70; ++i) AddTag("\\t" + std::to_string(i), i);
  const RVL_VobRegistry registry = Default();
  CallLog::StartRecording();
  GCL_Status status;
  const RVL_VobRegistryTag tag = registry.find_tag(status, GCL_String("\\t69"));
  ASSERT_TRUE(status.ok()) << status.messages().c_str();
  EXPECT_EQ(Text(tag.comment(status)), "tag \\t69");
  EXPECT_EQ(CallLog::Calls("rgy_get_entry").size(), 3u);  // 32, 32 and the last 6
  EXPECT_EQ(CallLog::Calls("rgy_close_cursor").size(), 1u);
  EXPECT_EQ(rgy_live_entry_count(), 70);
  EXPECT_EQ(rgy_live_cursor_count(), 0);
  CallLog::StartRecording();
  EXPECT_FALSE(registry.find_tag(status, GCL_String("\\t0")).is_null());
  EXPECT_TRUE(CallLog::Calls().empty());
  std::vector<RVL_VobRegistryTag> tags;
  ASSERT_TRUE(registry.list_tags(status, &tags));
  EXPECT_EQ(tags.size(), 70u);
}

TEST_F(Registry, ALoadFailingPartWayLeavesNothingLoadedAndTheNextFindReloads) {
  for (int i = 0; i < 70; ++i) AddTag("\\t" + std::to_string(i), i);
  const RVL_VobRegistry registry = Default();
  client_local::Failure failure = Failing(TBS_ST_FAILURE, "registry server not answering\n");
  failure.nth = 2;
  failure.times = 1;
  ASSERT_TRUE(CallLog::InjectFailure("rgy_get_entry", failure));
  GCL_Status status;
  EXPECT_TRUE(registry.find_tag(status, GCL_String("\\t1")).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  EXPECT_NE(Text(status.messages()).find("registry server not answering"), std::string::npos);
  EXPECT_EQ(rgy_live_entry_count(), 0);
  EXPECT_EQ(rgy_live_cursor_count(), 0);
  std::vector<RVL_VobRegistryTag> tags;
  status.make_ok();
  ASSERT_TRUE(registry.list_tags(status, &tags)) << status.messages().c_str();
  EXPECT_EQ(tags.size(), 70u);
  EXPECT_FALSE(registry.find_tag(status, GCL_String("\\t1")).is_null());
}

TEST_F(Registry, UnknownNamesAnswerNullWithSuccess) {
  AddTag("\\known");
  AddObject(1);
  const RVL_VobRegistry registry = Default();
  GCL_Status status;
  EXPECT_TRUE(registry.find_tag(status, GCL_String("\\unknown")).is_null());
  EXPECT_TRUE(registry.find_object(status, Uuid(7)).is_null());
  EXPECT_TRUE(registry.find_region(status, GCL_String("nowhere")).is_null());
  EXPECT_TRUE(status.ok());
  EXPECT_FALSE(registry.find_object(status, Uuid(1)).is_null());
  EXPECT_EQ(Text(registry.find_region(status, GCL_String("test")).comment(status)), "test region");
}

TEST_F(Registry, OneServerHasOneBodyForTheLifeOfTheProcess) {
  GCL_Status status;
  const GCL_Body* first = nullptr;
  {
    const RVL_VobRegistry registry = RVL_VobRegistry::of_server(status, GCL_String("alpha"));
    first = registry.body();
    EXPECT_EQ(registry.reference_count(), 2u);  // the handle and the cache's own
  }
  const RVL_VobRegistry again = Default();
  EXPECT_EQ(again.body(), first);
  EXPECT_EQ(again.reference_count(), 2u);
  // Sheet threads reach the kept registries at once.
  std::vector<const GCL_Body*> seen(4);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&seen, i] {
      GCL_Status own;
      seen[i] = RVL_VobRegistry::of_server(own, GCL_String(i % 2 ? "alpha" : "beta")).body();
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(seen[1], first);
  EXPECT_EQ(seen[0], seen[2]);
  EXPECT_EQ(RVL_VobRegistry::kept_count(), 2u);
}

TEST_F(Registry, ARegistryWithoutServerIsNotKept) {
  ASSERT_EQ(rgy_clear(), 0);
  GCL_Status status;
  const RVL_VobRegistry registry = RVL_VobRegistry::default_registry(status);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_EQ(Text(registry.server().name()), "");
  EXPECT_EQ(RVL_VobRegistry::kept_count(), 0u);
}

TEST_F(Registry, AnUpdateWithNothingChangedReadsTheStoredValuesAndCallsNothing) {
  AddTag("\\src");
  RVL_VobRegistry registry = Default();
  GCL_Status status;
  RVL_VobRgyTagUpdate update(registry.find_tag(status, GCL_String("\\src")));
  ASSERT_TRUE(update.set(status, F::comment, GCL_String("tag \\src")));  // the stored value
  for (F field : {F::tag_name, F::global_path, F::host, F::comment, F::mount_options, F::access})
    EXPECT_FALSE(update.is_changed(field)) << static_cast<int>(field);
  EXPECT_EQ(Text(update.read(F::global_path)), "\\\\alpha\\c$\\store\\src");
  EXPECT_EQ(Text(update.read(F::mount_options)), "timeo=10,");
  CallLog::StartRecording();
  EXPECT_TRUE(update.apply(status, registry));
  EXPECT_TRUE(CallLog::Calls().empty());
}

TEST_F(Registry, AnAppliedUpdateReachesStoreCacheAndObservers) {
  AddTag("\\src");
  RVL_VobRegistry registry = Default();
  TagWatcher watcher;
  registry.add_observer(&watcher);
  GCL_Status status;
  const RVL_VobRegistryTag before = registry.find_tag(status, GCL_String("\\src"));
  RVL_VobRgyTagUpdate update(before);
  ASSERT_TRUE(update.set(status, F::comment, GCL_String("shared sources")));
  ASSERT_TRUE(update.set(status, F::mount_options, GCL_String("ro,timeo=20,")));
  ASSERT_TRUE(update.set(status, F::access, GCL_String("private")));
  EXPECT_TRUE(update.is_changed(F::comment));
  EXPECT_FALSE(update.is_changed(F::host));
  ASSERT_TRUE(update.apply(status, registry)) << status.messages().c_str();
  EXPECT_FALSE(update.is_changed());
  EXPECT_EQ(Stored("\\src", RGY_KEY_COMMENT), "shared sources");
  EXPECT_EQ(Stored("\\src", RGY_KEY_MOUNT_OPTS), "ro,timeo=20,");
  EXPECT_EQ(Stored("\\src", RGY_KEY_ACCESS), "private");
  const RVL_VobRegistryTag after = registry.find_tag(status, GCL_String("\\src"));
  EXPECT_EQ(Text(after.comment(status)), "shared sources");
  EXPECT_EQ(Text(after.mount_access(status)), "private");
  EXPECT_EQ(Text(before.comment(status)), "tag \\src");  // an entry is a copy
  ASSERT_EQ(watcher.events.size(), 1u);
  EXPECT_EQ(watcher.events[0].event, RVL_RgyEvent::changed);
  EXPECT_EQ(watcher.events[0].comment, "shared sources");
  // A rename moves the cached entry to its new name.
  ASSERT_TRUE(update.set(status, F::tag_name, GCL_String("\\sources")));
  ASSERT_TRUE(update.apply(status, registry));
  EXPECT_TRUE(registry.find_tag(status, GCL_String("\\src")).is_null());
  EXPECT_EQ(Text(registry.find_tag(status, GCL_String("\\sources")).comment(status)), "shared sources");
}

TEST_F(Registry, AFailedOrRefusedUpdateChangesNothing) {
  AddTag("\\src");
  AddTag("\\doc");
  RVL_VobRegistry registry = Default();
  TagWatcher watcher;
  registry.add_observer(&watcher);
  GCL_Status status;
  RVL_VobRgyTagUpdate update(registry.find_tag(status, GCL_String("\\src")));
  ASSERT_TRUE(update.set(status, F::comment, GCL_String("new")));
  ASSERT_TRUE(update.set(status, F::host, GCL_String("beta")));
  ASSERT_TRUE(CallLog::InjectFailure("rgy_modify_entry", Failing(TBS_ST_FAILURE, "store refused\n")));
  EXPECT_FALSE(update.apply(status, registry));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  CallLog::ClearFailures();
  EXPECT_EQ(Stored("\\src", RGY_KEY_COMMENT), "tag \\src");
  EXPECT_EQ(Stored("\\src", RGY_KEY_HOST), "alpha");
  EXPECT_EQ(Text(registry.find_tag(status, GCL_String("\\src")).comment(status)), "tag \\src");
  EXPECT_TRUE(update.is_changed(F::comment));  // still pending
  EXPECT_TRUE(watcher.events.empty());
  // A rename onto another tag is refused by the store.
  ASSERT_TRUE(update.set(status, F::tag_name, GCL_String("\\doc")));
  EXPECT_FALSE(update.apply(status, registry));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));
  EXPECT_EQ(Stored("\\src", RGY_KEY_COMMENT), "tag \\src");
  // Values the fields cannot hold are refused before anything is pending.
  struct Bad {
    F field;
    const char* value;
  };
  for (const Bad& bad : {Bad{F::mount_options, "bogus"}, Bad{F::access, "open"}, Bad{F::tag_name, ""},
                         Bad{F::local_path, "C:\\x"}}) {
    status.make_ok();
    EXPECT_FALSE(update.set(status, bad.field, GCL_String(bad.value))) << bad.value;
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG)) << bad.value;
  }
  EXPECT_EQ(Text(update.read(F::mount_options)), "timeo=10,");
  // An entry removed behind the registry's back is gone for the update too.
  ASSERT_EQ(rgy_remove_by_string(RGY_KIND_VOB_TAG, "test", "\\src"), 0);
  ASSERT_TRUE(update.set(status, F::tag_name, GCL_String("\\src")));
  EXPECT_FALSE(update.apply(status, registry));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
}

TEST_F(Registry, ReadWithStatusNeverClearsAnEarlierFailure) {
  AddTag("\\src");
  GCL_Status status;
  const RVL_VobRgyTagUpdate update(Default().find_tag(status, GCL_String("\\src")));
  status.reset(TBS_ST_NOT_FOUND);
  EXPECT_EQ(Text(update.read(status, F::comment)), "tag \\src");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_EQ(Text(update.read(status, F::local_path)), "");  // not a tag's field
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
}

TEST_F(Registry, ObjectsAndRegionsUpdateLikeTags) {
  AddObject(1);
  RVL_VobRegistry registry = Default();
  GCL_Status status;
  RVL_VobRgyObjUpdate object(registry.find_object(status, Uuid(1)));
  ASSERT_TRUE(object.set(status, F::local_path, GCL_String("D:\\moved")));
  ASSERT_TRUE(object.apply(status, registry)) << status.messages().c_str();
  EXPECT_EQ(Text(registry.find_object(status, Uuid(1)).local_path(status)), "D:\\moved");
  ASSERT_FALSE(registry.create_region(status, GCL_String("far"), GCL_String("far away")).is_null());
  RVL_VobRegionUpdate region(registry.find_region(status, GCL_String("far")));
  ASSERT_TRUE(region.set(status, F::comment, GCL_String("nearer")));
  ASSERT_TRUE(region.apply(status, registry)) << status.messages().c_str();
  EXPECT_EQ(Text(registry.find_region(status, GCL_String("far")).comment(status)), "nearer");
  std::vector<RVL_VobRegion> regions;
  ASSERT_TRUE(registry.list_regions(status, &regions));
  EXPECT_EQ(regions.size(), 2u);
}

TEST_F(Registry, AccessAnswersYesNoOrTheFailure) {
  const RVL_VobRegistry registry = Default();
  GCL_Status status;
  EXPECT_TRUE(registry.check_access(status, GCL_String("")));  // no password set
  EXPECT_FALSE(registry.check_access(status, GCL_String("guess")));
  EXPECT_TRUE(status.ok());
  ASSERT_EQ(rgy_set_password("secret"), 0);
  EXPECT_TRUE(registry.check_access(status, GCL_String("secret")));
  EXPECT_FALSE(registry.check_access(status, GCL_String("")));
  EXPECT_TRUE(status.ok());
  ASSERT_TRUE(CallLog::InjectFailure("rgy_chk_access", Failing(TBS_ST_FAILURE)));
  EXPECT_FALSE(registry.check_access(status, GCL_String("secret")));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
}

TEST_F(Registry, OnlyTheCreatorOrAPrivilegedUserMayChangeATag) {
  AddTag("\\src");  // as ann
  const RVL_VobRegistry registry = Default();
  struct Case {
    const char* user;
    bool may;
  };
  for (const Case& c : {Case{"ann", true}, Case{"bob", false}, Case{"root", true}, Case{"Administrator", true}}) {
    User(c.user);
    GCL_Status status;
    EXPECT_EQ(registry.may_change_tag(status, GCL_String("\\src")), c.may) << c.user;
    EXPECT_TRUE(status.ok()) << c.user;
  }
  GCL_Status status;
  EXPECT_FALSE(registry.may_change_tag(status, GCL_String("\\none")));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
}

TEST_F(Registry, CreatingAndRemovingKeepTheCachesInStepAndTellObservers) {
  AddTag("\\src");
  AddObject(1);
  RVL_VobRegistry registry = Default();
  TagWatcher first, second;
  first.registry = &registry;
  first.removes = &second;  // removed during the first notification: never told
  registry.add_observer(&first);
  registry.add_observer(&second);
  struct VobWatcher : RVL_VobObserver {
    void vob_event(RVL_RgyEvent, const GCL_String& uuid) override { told.push_back(Text(uuid)); }
    std::vector<std::string> told;
  } vobs;
  registry.add_observer(&vobs);
  GCL_Status status;
  ASSERT_FALSE(registry.find_tag(status, GCL_String("\\src")).is_null());
  const RVL_VobRegistryTag made =
      registry.create_tag(status, {{F::tag_name, GCL_String("\\new")}, {F::comment, GCL_String("fresh")}});
  ASSERT_FALSE(made.is_null()) << status.messages().c_str();
  EXPECT_EQ(Text(made.region(status)), "test");
  EXPECT_EQ(Text(made.global_path(status)), RGY_NO_GPATH);
  EXPECT_EQ(registry.find_tag(status, GCL_String("\\new")), made);
  ASSERT_TRUE(registry.remove_tag(status, GCL_String("\\src")));
  EXPECT_TRUE(registry.find_tag(status, GCL_String("\\src")).is_null());
  EXPECT_EQ(Stored("\\src", RGY_KEY_TAG), "(none)");
  EXPECT_FALSE(registry.remove_tag(status, GCL_String("\\src")));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  ASSERT_EQ(first.events.size(), 2u);
  EXPECT_EQ(first.events[0].event, RVL_RgyEvent::added);
  EXPECT_EQ(first.events[1].event, RVL_RgyEvent::removed);
  EXPECT_EQ(first.events[1].name, "\\src");
  EXPECT_TRUE(second.events.empty());
  status.make_ok();
  ASSERT_FALSE(registry.find_object(status, Uuid(1)).is_null());
  ASSERT_TRUE(registry.remove_object(status, Uuid(1))) << status.messages().c_str();
  EXPECT_TRUE(registry.find_object(status, Uuid(1)).is_null());
  EXPECT_FALSE(registry.remove_object(status, Uuid(1)));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_EQ(vobs.told.size(), 3u);  // the new tag, the removed tag, the removed object
}

TEST_F(Registry, FiltersChooseTheListedEntries) {
  AddTag("\\src");
  AddTag("\\doc");
  AddTag("\\lib");
  const RVL_VobRegistry registry = Default();
  GCL_Status status;
  RVL_VobRgyTagUpdate update(registry.find_tag(status, GCL_String("\\doc")));
  ASSERT_TRUE(update.set(status, F::access, GCL_String("private")));
  RVL_VobRegistry target = registry;
  ASSERT_TRUE(update.apply(status, target));
  struct Case {
    std::vector<RVL_VobFilter> filters;
    std::size_t listed;
  };
  const std::vector<Case> cases = {
      {{}, 3},
      {{{F::access, GCL_String("public"), RVL_VobFilter::equals}}, 2},
      {{{F::comment, GCL_String("\\l"), RVL_VobFilter::contains}}, 1},
      {{{F::access, GCL_String("public"), RVL_VobFilter::equals}, {F::tag_name, GCL_String("\\doc")}}, 0},
  };
  for (const Case& c : cases) {
    RVL_VobFilterList filters;
    for (const RVL_VobFilter& filter : c.filters) filters.Append(filter);
    std::vector<RVL_VobRegistryTag> tags;
    ASSERT_TRUE(registry.list_tags(status, &tags, &filters));
    EXPECT_EQ(tags.size(), c.listed);
  }
}

TEST_F(Registry, DescribeWritesEachSectionsLines) {
  AddTag("\\src", 3);
  AddObject(3);
  const RVL_VobRegistry registry = Default();
  GCL_Status status;
  struct Case {
    std::function<void(std::ostream&)> describe;
    std::vector<std::string> lines;
  };
  const RVL_VobRegistryTag tag = registry.find_tag(status, GCL_String("\\src"));
  const RVL_VobRegistryObject object = registry.find_object(status, Uuid(3));
  const RVL_VobRegion region = registry.find_region(status, GCL_String("test"));
  const std::vector<Case> cases = {
      {[&](std::ostream& out) { tag.describe(out); },
       {"UUID: " + UuidText(3), "Tag Name:    \\src", "Global Path: \\\\alpha\\c$\\store\\src",
        "Host:        alpha", "Region:      test", "Comment:     tag \\src", "Mount Options: timeo=10,",
        "Mount Access:  public"}},
      {[&](std::ostream& out) { object.describe(out); },
       {"UUID: " + UuidText(3), "Host:       alpha", "Local Path: C:\\store\\3", "Family UUID: " + UuidText(3)}},
      {[&](std::ostream& out) { region.describe(out); }, {"Name:    test", "Comment: test region"}},
      {[&](std::ostream& out) { registry.describe(out); }, {"Registry on server \"alpha\""}},
      {[&](std::ostream& out) { RVL_VobRegistryTag().describe(out); }, {"Registry Entry is currently NULL"}},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    c.describe(out);
    for (const std::string& line : c.lines) EXPECT_NE(out.str().find(line + "\n"), std::string::npos) << out.str();
  }
}

TEST_F(Registry, ClientHostsAreTheStoresHosts) {
  ASSERT_EQ(nlbd_set_port("alpha", 7510), 0);
  ASSERT_EQ(nlbd_hostinfo_register("beta", "Linux", "6", ""), 0);
  GCL_Status status;
  std::vector<GCL_String> hosts;
  ASSERT_TRUE(Default().client_hosts(status, &hosts));
  ASSERT_EQ(hosts.size(), 2u);
  EXPECT_EQ(Text(hosts[0]), "alpha");
  EXPECT_EQ(Text(hosts[1]), "beta");
}

}  // namespace
