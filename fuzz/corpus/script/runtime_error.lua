error("raised")
