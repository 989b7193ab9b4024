// The tab host.
