SelectAll()
Copy()
Paste{Style = "Antisymmetry", Count = 1000}
Message("plies " .. CountPlies())
Paste{Count = 100000}
SelectAll()
Group()
AutoGroup()
Message("groups " .. CountGroups())
