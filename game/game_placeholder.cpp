// Filled as the rules arrive.
