// Between the menu button's and its list's sources: what each needs of the other beyond the
// exported classes, whose layouts other processes of the suite share.
#pragma once
#include "MenuButton.h"

namespace menu_detail {

// Destroys, without a message, the open list of owner on the calling thread, if it has one.
void close_open_list(CxMenuButton* owner);

// Closes the list and tells its button: the list goes first (the focus back to the button when
// the list had it), then the button hears message with the highlighted row. Nothing touches the
// list after that, so the parent's handler of the notification may destroy any window.
void close_list(CxMenuList& list, UINT message);

// The item after from (wrapping round, from itself last) whose text starts with ch, ignoring
// case; -1 when none.
int next_item_starting_with(const CArray<CxMenuButton::Item>& items, int from, wchar_t ch);

} // namespace menu_detail
