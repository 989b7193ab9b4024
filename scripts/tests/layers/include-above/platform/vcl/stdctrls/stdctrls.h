// The standard controls.
