#pragma once
// Help: every Help button opens its topic through gu_help.
#include "platform/types.h"

// Opens a help topic (a relative topic path such as
// "rvint_exp/checkincomment.htm"); callers pass a null window, the topic,
// 1 and 0. The local implementation records the topic in the call log and
// answers 0; TBS_ST_INVALID_ARG for a null or empty topic.
int gu_help(plat::Hwnd window, const char* topic, int command, int data);

// Where help topics go in the local implementation: the host program sets a
// procedure that tells its user where the topic would open (null: nowhere).
using gu_help_proc_t = void (*)(const char* topic);
gu_help_proc_t gu_set_help_proc(gu_help_proc_t proc);
