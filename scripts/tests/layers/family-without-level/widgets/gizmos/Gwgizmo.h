// A family with no level.
