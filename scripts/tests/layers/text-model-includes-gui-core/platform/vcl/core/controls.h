// The controls.
