// A source.
