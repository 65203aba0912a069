// empty for now
