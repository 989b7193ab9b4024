// The message window.
