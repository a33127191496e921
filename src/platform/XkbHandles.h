#pragma once

#include <memory>
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

// Owning handles for the libxkbcommon objects, so that every path releases them.
struct XkbContextUnref {
    void operator()(xkb_context* p) const { xkb_context_unref(p); }
};
struct XkbKeymapUnref {
    void operator()(xkb_keymap* p) const { xkb_keymap_unref(p); }
};
struct XkbStateUnref {
    void operator()(xkb_state* p) const { xkb_state_unref(p); }
};
struct XkbComposeTableUnref {
    void operator()(xkb_compose_table* p) const { xkb_compose_table_unref(p); }
};
struct XkbComposeStateUnref {
    void operator()(xkb_compose_state* p) const { xkb_compose_state_unref(p); }
};

using XkbContextPtr = std::unique_ptr<xkb_context, XkbContextUnref>;
using XkbKeymapPtr = std::unique_ptr<xkb_keymap, XkbKeymapUnref>;
using XkbStatePtr = std::unique_ptr<xkb_state, XkbStateUnref>;
using XkbComposeTablePtr = std::unique_ptr<xkb_compose_table, XkbComposeTableUnref>;
using XkbComposeStatePtr = std::unique_ptr<xkb_compose_state, XkbComposeStateUnref>;
