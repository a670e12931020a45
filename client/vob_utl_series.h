#pragma once
// Tells the repository that a series of operations is under way, so that it
// can keep what the series shares (first: the first of the series; last: the
// last one).
int vob_utl_set_series_next_op(int first, int last);
