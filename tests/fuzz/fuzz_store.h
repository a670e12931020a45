#pragma once
// The store the targets that resolve names work on: made once per process, in
// memory, under a scratch home, with one VOB (\fz: \src, \src\a.c, the label
// type REL1) and one view (fz_view).
namespace rv_fuzz {
void UseScratchStore();
}
