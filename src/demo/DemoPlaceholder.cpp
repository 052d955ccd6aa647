// Filled in by the demo cams.
