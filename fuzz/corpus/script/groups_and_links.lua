UnselectAll()
SelectAll()
Delete()
for i = 1, 12 do
  AddPly{Material = 301 + i % 2, Thickness = 0.125 * (1 + i % 3), Angle = ({0, 45, -45, 90})[1 + i % 4], Color = i % 5}
end
for _, pair in ipairs({{1, 2}, {3, 4}, {5, 6}, {7, 8}}) do
  SelectPly(pair[1])
  SelectPly(pair[2])
  Group()
end
SelectGroup(1) SelectGroup(2) SelectGroup(3) SelectGroup(4)
Link()
SelectGroup(3)
Copy()
SelectGroup(1)
Paste{Style = "Repeat", Location = "Above", Count = 3}
SelectGroup(2)
Cut()
SelectPly(1)
Paste{Style = "Antisymmetry"}
SetStackingSequence("Repeat With Core")
Message("plies " .. CountPlies() .. " groups " .. CountGroups())
List()
