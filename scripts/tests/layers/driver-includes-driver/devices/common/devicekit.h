// The device kit.
