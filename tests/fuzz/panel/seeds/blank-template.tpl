<?xml version="1.0" encoding="UTF-8"?>
<ZDX>
	<Controls>
		<Control name="Bounds" type="Frame">
			<Property name="widget">
				<bounds>
					<x>0</x>
					<y>0</y>
					<width>300</width>
					<height>340</height>
				</bounds>
			</Property>
			<Property name="attributes">
			</Property>
		</Control>
		<Control name="Title" type="Label">
			<Property name="widget">
				<label>
					<x>20</x>
					<y>16</y>
					<width>260</width>
					<height>30</height>
					<text>Home</text>
					<align>center</align>
				</label>
			</Property>
			<Property name="attributes">
			</Property>
		</Control>
	</Controls>
</ZDX>
