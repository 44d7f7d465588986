#!/usr/bin/lua
Message("bom and interpreter line")
