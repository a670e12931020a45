#pragma once
// Message collectors, and statuses that own one.
//
// A GCL_ImsgCollector, for its life, takes the notices (kinds 0 and 1,
// recorded as 0), warnings (4 and 5, recorded as 4) and errors (6 and 7,
// recorded as 6) that the client libraries print, and leaves every other
// kind where it went. It sets the process-wide collector switch and gives
// back both the routing and the switch when it ends. When lost-output
// reporting is on (IMSG_LOST_OUTPUT set and not empty) a collector that ends
// with messages left prints them to standard output.
//
// A GCL_StatusBase is a status that owns a collector from construction to
// destruction. Assigning one keeps its own collector (emptied), so the
// routing never points at a collector that is gone.
#include <cstdint>
#include <memory>

#include "gcl_status.h"
#include "gcl_string.h"
#include "lc_collection.h"

// The process-wide collector switch: on while a collector is alive.
// Setting returns the value it had.
bool GCL_ImsgCollectorSwitch();
bool GCL_SetImsgCollectorSwitch(bool on);

class GCL_ImsgCollector {
 public:
  GCL_ImsgCollector();
  virtual ~GCL_ImsgCollector();
  GCL_ImsgCollector(const GCL_ImsgCollector&) = delete;
  GCL_ImsgCollector& operator=(const GCL_ImsgCollector&) = delete;

  virtual bool is_empty() const;
  // Appends the collected messages, in order, to out.
  virtual void copy_messages(LC_TCollection<GCL_String>& out) const;
  // Empties the collection and clears every kind flag.
  virtual void reset();
  // Appends a message and sets its kind's flag (a kind outside 0..10 only
  // appends).
  virtual void add(const GCL_String& message, int kind);
  // Whether a message of the kind was collected; false outside 0..10.
  virtual bool has_kind(int kind) const;
  // Where the installed procedure hands each message: records a
  // continuation under its leading kind and adds it.
  virtual void forward(int kind, const char* text);

  std::uint32_t message_count() const;

 private:
  static void receive(void* context, int kind, const char* text);

  LC_TDynamicCollection<GCL_String, LC_CUnmanaged> messages_{32};
  GCL_Status::OutputProc saved_procs_[GCL_Status::kind_count] = {};
  void* saved_context_ = nullptr;
  GCL_Status::OutputProc installed_procs_[GCL_Status::kind_count] = {};
  bool kinds_[GCL_Status::kind_count] = {};
  bool previous_switch_ = false;
};

class GCL_StatusBase : public GCL_Status {
 public:
  GCL_StatusBase();
  explicit GCL_StatusBase(std::uint32_t code);
  // The code and messages; a collector of its own.
  GCL_StatusBase(const GCL_StatusBase& other);
  GCL_StatusBase& operator=(const GCL_StatusBase& other);
  GCL_StatusBase& operator=(const GCL_Status& other);
  virtual ~GCL_StatusBase();

  virtual bool has_collected() const;
  virtual void collected(LC_TCollection<GCL_String>& out) const;
  virtual bool collected_kind(int kind) const;
  virtual void clear_collected();

  GCL_ImsgCollector& collector() const { return *collector_; }

 private:
  std::unique_ptr<GCL_ImsgCollector> collector_;
};
