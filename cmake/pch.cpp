// Anchors the precompiled standard header.
