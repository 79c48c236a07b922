// Local stand-in until the shared test support lands on main.
