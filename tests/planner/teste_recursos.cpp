// The pictures and sounds the generator makes for the planner.
