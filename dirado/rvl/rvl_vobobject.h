#pragma once
// VOB objects: a handle onto a body that holds the object's identity (its
// VOB, OID, DBID, meta-type and the text it was made from) and asks the
// repository whenever an accessor needs data. The OID is fetched once and
// kept; nothing else is cached.
//
// Every operation reports through its status: the repository's code with
// the messages it printed. Accessors give an empty or null value on failure.
#include <cstdint>
#include <iosfwd>
#include <vector>

#include "gcl_handle.h"
#include "gcl_string.h"
#include "rvl_ids.h"
#include "rvl_vob.h"

class GCL_Status;
class RVL_AttributeList;
class RVL_AttributeValue;
class RVL_NamedObj;
class RVL_Update;
template <class Record>
class RVL_InfoStg;
struct vob_lock_info_s;
struct vob_event_info_s;

class RVL_VobObjectRep : public GCL_Body {
 public:
  // An object of the VOB. With an expected meta-type, the meta-type is
  // fetched at once and a different one gives TBS_ST_WRONG_KIND (the body keeps the
  // DBID).
  RVL_VobObjectRep(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0,
                   const GCL_String& text = GCL_String());
  // An object found by resolution, whose meta-type is known.
  struct Resolved {
    std::uint32_t mtype;
  };
  RVL_VobObjectRep(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, Resolved known,
                   const GCL_String& text);

  // A DBID of 0 is the null object.
  bool is_null() const override { return dbid_ == 0; }
  // Same DBID and equal VOBs.
  bool equals(const GCL_Body& other) const override;
  // The describe output: this class's section after its bases'.
  void print(std::ostream& out) const override;
  // vob_obj_dump.
  virtual void dump(GCL_Status& status) const;
  // Whether the object is in a state its class can work with; the base says
  // yes.
  virtual bool check_state(GCL_Status& status) const;
  // The name to show: the base formats the DBID.
  virtual GCL_String display_name(GCL_Status& status) const;
  // Applies the parts of the update whose kind this object has (see
  // rvl_update.h), stopping at the first failure, which stays on the status.
  virtual void apply(GCL_Status& status, const RVL_Update& update) const;

  const RVL_Vob& vob() const { return vob_; }
  std::uint32_t vob_handle() const { return vob_.handle(); }
  std::uint32_t dbid() const { return dbid_; }
  std::uint32_t known_mtype() const { return mtype_; }
  const GCL_String& text() const { return text_; }
  // The OID, fetched at the first success and kept.
  RVL_Oid oid(GCL_Status& status) const;
  std::uint32_t mtype(GCL_Status& status) const;
  void reset();

 protected:
  // The lines of the "Vob Object" section.
  void print_vob_object(std::ostream& out) const;
  void set_mtype(std::uint32_t mtype) { mtype_ = mtype; }

 private:
  RVL_Vob vob_;
  mutable RVL_Oid oid_;
  std::uint32_t dbid_;
  std::uint32_t mtype_ = 0;
  GCL_String text_;
};

class RVL_VobObject : public GCL_Handle<RVL_VobObjectRep> {
 public:
  RVL_VobObject() = default;
  RVL_VobObject(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0);
  // The object a pathname (vob_resolve_general) or selector (vob_obj_resolve)
  // names in the VOB.
  RVL_VobObject(GCL_Status& status, const RVL_Vob& vob, const GCL_String& name);

  bool is_null() const { return !rep() || rep()->is_null(); }
  std::uint32_t dbid() const { return rep() ? rep()->dbid() : 0; }
  RVL_Vob vob() const { return rep() ? rep()->vob() : RVL_Vob(); }
  // The text the object was made from (may be empty).
  GCL_String text() const { return rep() ? rep()->text() : GCL_String(); }

  RVL_Oid oid(GCL_Status& status) const;
  // The DBID of an object of this object's VOB by its OID.
  std::uint32_t dbid_from_oid(GCL_Status& status, const RVL_Oid& oid) const;
  bool exists(GCL_Status& status) const;
  std::uint32_t mtype(GCL_Status& status) const;
  GCL_String mtype_string(GCL_Status& status) const;
  // Back to the null object (DBID 0, null OID, meta-type 0).
  void reset();

  GCL_String display_name(GCL_Status& status) const;
  void dump(GCL_Status& status) const;
  void describe(std::ostream& out) const;

  // Locks and flags.
  void lock_info(GCL_Status& status, RVL_InfoStg<vob_lock_info_s>& info) const;
  void lock(GCL_Status& status, const GCL_String& comment) const;
  void unlock(GCL_Status& status) const;
  bool is_obsolete(GCL_Status& status) const;
  bool is_predefined(GCL_Status& status) const;

  // Events: the creation event, and every event oldest first.
  void creation_event(GCL_Status& status, RVL_InfoStg<vob_event_info_s>& event) const;
  std::vector<RVL_InfoStg<vob_event_info_s>> event_history(GCL_Status& status) const;
  void change_event_comment(GCL_Status& status, const RVL_InfoStg<vob_event_info_s>& event,
                            const GCL_String& comment) const;

  // Attributes (rvl_attribute.h): the list, add or replace, drop.
  RVL_AttributeList attributes(GCL_Status& status) const;
  void add_attribute(GCL_Status& status, const GCL_String& type, const RVL_AttributeValue& value) const;
  void drop_attribute(GCL_Status& status, const GCL_String& type) const;
  // Triggers attached to the object, by trigger type name.
  void add_trigger(GCL_Status& status, const GCL_String& type) const;
  void drop_trigger(GCL_Status& status, const GCL_String& type) const;
  // Owner and group (security identifiers; empty leaves a part as it is)
  // and protection mode (0xFFFFFFFF leaves it).
  void protect_sid(GCL_Status& status, const GCL_String& owner_sid, const GCL_String& group_sid,
                   std::uint32_t mode) const;

  // The object's type object (vob_type_find_gtype).
  RVL_NamedObj type_object(GCL_Status& status) const;
  bool has_hyperlinks(GCL_Status& status) const;

  // Applies an update (rvl_update.h): only the parts of the kinds the update
  // is a kind of; an update without changes makes no repository call.
  void apply(GCL_Status& status, const RVL_Update& update) const;

 protected:
  explicit RVL_VobObject(RVL_VobObjectRep* rep) : GCL_Handle<RVL_VobObjectRep>(rep) {}
  // The status of an operation on a null handle: TBS_ST_FAILURE, logged.
  bool require_body(GCL_Status& status, int line) const;
};
