-- Groups and links: a [0/90] block, repeated by a link, and an automatic
-- grouping of a flat list.

UnselectAll()
SelectAll()
Delete()   -- start from an empty layup

local ply = {Material = 301, Thickness = 0.125, Color = 3}
for _, angle in ipairs({0, 90, 0, 90, 45, -45, -45, 45}) do
  ply.Angle = angle
  AddPly(ply)
end

-- Plies 1 and 2 become group 1.
SelectPly(1)
SelectPly(2)
Group()

-- Plies 3 and 4 become group 2, then a link to group 1 in its place.
SelectPly(3)
SelectPly(4)
Group()
SelectGroup(1)
SelectGroup(2)
Link()

-- The rest is found automatically: [45/-45] followed by its mirror image.
AutoGroup()
Message("Groups and links: " .. CountGroups())
List()
