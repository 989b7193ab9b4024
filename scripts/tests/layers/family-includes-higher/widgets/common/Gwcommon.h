// The common family.
