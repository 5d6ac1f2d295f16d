# Install rules (filled in by packaging)
