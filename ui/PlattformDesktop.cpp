// PlattformDesktop
