_ERRORMESSAGE = function(m) error("again") end
error("x")
