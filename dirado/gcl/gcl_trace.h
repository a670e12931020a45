#pragma once
// The trace facility. One process-wide trace context is made by its first
// user and ends with its last. It holds a level for each of the areas 0 to
// 711, an output (the file named by NORVANE_GCL_DEBUG_FILE, else the
// standard error stream), a nesting depth and a sequence counter. At its
// making the levels come from NORVANE_GCL_DEBUG: items separated by any
// character other than a digit, '-' or '.'; "N" sets area N to level 1,
// "N-M" areas N to M, a ".L" suffix gives level L; areas above 711 count as
// 711, and a range with N above M sets nothing.
//
// Trace lines read "....DEBUG: ", two spaces per nesting level above the
// first, and the text. A traced scope whose area is at or above its level
// writes ">>[SEQ] Class::operation" on entry and "<<[SEQ] ..." on exit, the
// sequence number in a field of width 4.
#include <cstdint>

class GCL_Trace {
 public:
  static constexpr int area_count = 712;

  // Makes the context when none is alive; otherwise shares it.
  GCL_Trace();
  ~GCL_Trace();
  GCL_Trace(const GCL_Trace&) = delete;
  GCL_Trace& operator=(const GCL_Trace&) = delete;

  // The level of an area (0 for an area outside 0..711).
  int level(int area) const;
  void set_level(int area, int level);
  // Applies trace settings written as NORVANE_GCL_DEBUG is.
  void apply(const char* trace_text);
  // Writes one trace line.
  void line(const char* text);
  int depth() const;

  // Whether the context exists now (for tests).
  static bool alive();
};

class GCL_TraceScope {
 public:
  GCL_TraceScope(int area, int level, const char* class_name, const char* operation);
  ~GCL_TraceScope();
  GCL_TraceScope(const GCL_TraceScope&) = delete;
  GCL_TraceScope& operator=(const GCL_TraceScope&) = delete;

  std::uint32_t sequence() const { return sequence_; }
  bool enabled() const { return enabled_; }

 private:
  GCL_Trace trace_;
  const char* class_name_;
  const char* operation_;
  std::uint32_t sequence_ = 0;
  bool enabled_ = false;
};
