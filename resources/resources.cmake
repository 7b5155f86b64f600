# Files compiled into the plug-in, as TYPE:ID:FILE; the plug-in finds them
# with platform::findResource(TYPE, ID).
set(BRENNIX_RESOURCES
)
