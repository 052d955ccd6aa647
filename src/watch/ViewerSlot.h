#pragma once
// Per-slot controls and state; filled in with the watch cycle.
struct ViewerSlot {};
