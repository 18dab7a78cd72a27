// Between the menu button's and its list's sources: what each needs of the other beyond the
// exported classes, whose layouts other processes of the suite share.
#pragma once
#include "MenuButton.h"

namespace menu_detail {

// The item after from (wrapping round, from itself last) whose text starts with ch, ignoring
// case; -1 when none.
int next_item_starting_with(const CArray<CxMenuButton::Item>& items, int from, wchar_t ch);

} // namespace menu_detail
