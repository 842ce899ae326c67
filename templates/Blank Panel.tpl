<?xml version="1.0" encoding="UTF-8"?>
<ZDX>
	<Controls>
		<Control name="Background" type="Frame">
			<Property name="widget">
				<frame>
					<x>10</x>
					<y>10</y>
					<width>280</width>
					<height>320</height>
					<shape>box</shape>
					<shadow>plain</shadow>
					<fieldcolor>#c0231f20</fieldcolor>
					<bordercolor>#ffa8aaad</bordercolor>
					<borderwidth>0.5</borderwidth>
					<hasBorder>1</hasBorder>
				</frame>
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
