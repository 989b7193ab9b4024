// The text model.
