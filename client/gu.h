#pragma once
// Help: every Help button opens its topic through gu_help.
#include "platform/types.h"

// Opens a help topic (a relative topic path such as
// "rvint_exp/checkincomment.htm"); callers pass a null window, the topic,
// 1 and 0. The local implementation records the topic in the call log and
// answers 0; 1003 for a null or empty topic.
int gu_help(plat::Hwnd window, const char* topic, int command, int data);
