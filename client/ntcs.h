#pragma once
// The process-wide client lock. All repository work on worker and sheet
// threads is serialised by it. It is recursive (a holder may enter again and
// leaves once per entry) and knows its owner, so a call can check that its
// caller holds it. No dialog or message box is shown while a thread holds it.

void nt_enter_critical_section();

// 0; TBS_ST_INVALID_ARG when the calling thread does not hold the lock (nothing changes).
int nt_leave_critical_section();

// Non-zero when the calling thread holds the lock.
int nt_critical_section_held();

// How often the owner holds the lock; 0 when free.
int nt_critical_section_depth();
