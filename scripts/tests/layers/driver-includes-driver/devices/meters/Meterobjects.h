// The meters.
