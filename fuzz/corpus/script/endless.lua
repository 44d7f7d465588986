while true do SelectAll() end
